// SPDX-License-Identifier: GPL-3.0-or-later
#include "encodesettings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>

#include "commandline.h"

Q_LOGGING_CATEGORY(lcSettings, "velkoran.settings", QtInfoMsg)

const QList<FormOption> &formOptions()
{
    using K = FormOption::Kind;
    using G = FormOption::Group;
    // clang-format off
    static const QList<FormOption> table = {
        {"ArtistLineEdit", K::Text, G::Metadata, " --artist ", "label_9", nullptr, nullptr, false},
        {"TitleLineEdit", K::Text, G::Metadata, " --title ", "label_9_2", nullptr, nullptr, false},
        {"DateLineEdit", K::Text, G::Metadata, " --date ", "label_9_2_2", nullptr, nullptr, false},
        {"LocationLineEdit", K::Text, G::Metadata, " --location ", "label_9_2_2_2_2", nullptr, nullptr, false},
        {"OraganizationLineEdit", K::Text, G::Metadata, " --organization ", "label_9_2_2_2", nullptr, "person/organization", false},
        {"CopyrightLineEdit", K::Text, G::Metadata, " --copyright ", "label_9_2_2_2_2_2", nullptr, "person/copyright", false},
        {"LicenseLineEdit", K::Text, G::Metadata, " --license ", "label_10", nullptr, "person/license", false},

        {"ScaleWidthlineEdit", K::Text, G::Picture, " --width ", "label_5", nullptr, "output/width", true},
        {"ScaleHeightlineEdit", K::Text, G::Picture, " --height ", "label_12", nullptr, "output/height", true},
        {"inputFormatlineEdit", K::Text, G::Picture, " --format ", "label_13", nullptr, "input/format", true},
        {"frameAspectlineEdit", K::Text, G::Picture, " --aspect ", "label_15", QT_TRANSLATE_NOOP("Velkoran", "Frame aspect ratio, for example 4:3 or 16:9"), "output/aspect", true},
        {"outputSampleratelineEdit", K::Text, G::Picture, " --samplerate ", "label_17", QT_TRANSLATE_NOOP("Velkoran", "Output sample rate in hertz"), "output/samplerate", true},
        {"nicenesslineEdit", K::Text, G::Picture, " --nice ", "label_18", QT_TRANSLATE_NOOP("Velkoran", "Niceness of the encoder"), "output/nice", true},
        {"cropToplineEdit", K::Text, G::Picture, " --croptop ", "label_19", QT_TRANSLATE_NOOP("Velkoran", "Crop at the top"), "input/croptop", true},
        {"cropBottomlineEdit", K::Text, G::Picture, " --cropbottom ", "label_20", QT_TRANSLATE_NOOP("Velkoran", "Crop at the bottom"), "input/cropbottom", true},
        {"cropLeftlineEdit", K::Text, G::Picture, " --cropleft ", "label_21", QT_TRANSLATE_NOOP("Velkoran", "Crop at the left"), "input/cropleft", true},
        {"cropRightlineEdit", K::Text, G::Picture, " --cropright ", "label_22", QT_TRANSLATE_NOOP("Velkoran", "Crop at the right"), "input/cropright", true},
        {"disableSoundcomboBox", K::Flag, G::Picture, " --nosound ", "label_14", nullptr, "output/nosound", true},
        {"disableVideocomboBox", K::Flag, G::Picture, " --novideo ", "disableVideolabel", nullptr, "output/novideo", true},
        {"desableDeinterlacecomboBox", K::Flag, G::Picture, " -d off ", "label_16", nullptr, "input/nodeinterlace", true},
        {"sharpnessspinBox", K::Number, G::Picture, " --sharpness ", "label_6", nullptr, "output/sharpness", true},
        {"keyframespinBox", K::Number, G::Picture, " --keyint ", "label_7", nullptr, "output/keyint", true},
        {"inputfpslineEdit", K::Text, G::Picture, " --inputfps ", "label_4", QT_TRANSLATE_NOOP("Velkoran", "Override the input's frames per second"), "input/fps", true},
    };
    // clang-format on
    return table;
}

namespace
{
// The quality of both streams, kept under these keys.
struct QualityKeys {
    const char *mode;
    const char *value;
    bool audio;
};
const QualityKeys qualityKeys[] = {
    {"quality/audioMode", "quality/audio", true},
    {"quality/videoMode", "quality/video", false},
};

// A quality slider's range and starting value in MODE.
struct QualityRange {
    int minimum, maximum, start;
};
QualityRange qualityRange(bool audio, int mode)
{
    if (mode == 1)
        return {45, 2000, 92};
    return audio ? QualityRange{-10, 100, 60} : QualityRange{0, 100, 30};
}

// The words of a fragment (" -d off " holds two).
QStringList fragmentWords(const char *fragment)
{
    return QString::fromLatin1(fragment).split(u' ', Qt::SkipEmptyParts);
}
} // namespace

EncodeSettings::EncodeSettings(QWidget *window) : window(window) {}

QWidget *EncodeSettings::widget(const char *name) const
{
    return window->findChild<QWidget *>(QString::fromLatin1(name));
}

void EncodeSettings::eachChosen(
    FormOption::Group group,
    const std::function<void(const FormOption &, const QString *)> &take) const
{
    for (const FormOption &o : formOptions()) {
        if (o.group != group)
            continue;
        QWidget *w = widget(o.widget);
        switch (o.kind) {
        case FormOption::Kind::Text:
            if (const QString text = static_cast<QLineEdit *>(w)->text(); !text.isEmpty())
                take(o, &text);
            break;
        case FormOption::Kind::Flag:
            if (static_cast<QComboBox *>(w)->currentIndex() == 1)
                take(o, nullptr);
            break;
        case FormOption::Kind::Number: {
            const QString number = static_cast<QSpinBox *>(w)->text();
            take(o, &number);
            break;
        }
        }
    }
}

QStringList EncodeSettings::fragments(FormOption::Group group) const
{
    QStringList list;
    eachChosen(group, [&list](const FormOption &o, const QString *value) {
        list << o.fragment;
        if (value)
            list << (o.kind == FormOption::Kind::Text ? quoteWord(*value) : *value);
    });
    return list;
}

QStringList EncodeSettings::arguments(FormOption::Group group) const
{
    QStringList words;
    eachChosen(group, [&words](const FormOption &o, const QString *value) {
        words << fragmentWords(o.fragment);
        if (value)
            words << *value;
    });
    return words;
}

QStringList EncodeSettings::quality(bool audio) const
{
    const auto *mode = static_cast<QComboBox *>(widget(audio ? "AudiocomboBox" : "VideocomboBox"));
    const auto *label = static_cast<QLabel *>(
        widget(audio ? "AudioQualityHorizontalLabel" : "VideoQualityHorizontalLabel"));
    // What the user sees is what the encoder gets.
    QStringList group;
    if (mode->currentIndex() == 0)
        group << (audio ? " --audioquality " : " --videoquality ") << quoteWord(label->text());
    if (mode->currentIndex() == 1)
        group << (audio ? " --audiobitrate " : " --videobitrate ") << quoteWord(label->text());
    return group;
}

void EncodeSettings::showQuality(QLabel *label, int mode, int value)
{
    if (mode == 0)
        label->setNum(double(value) / 10);
    if (mode == 1)
        label->setNum(value);
}

void EncodeSettings::enterQualityMode(QSlider *slider, QLabel *label, int mode, bool audio)
{
    if (mode != 0 && mode != 1)
        return;
    const QualityRange range = qualityRange(audio, mode);
    slider->setMinimum(range.minimum);
    slider->setMaximum(range.maximum);
    slider->setValue(range.start);
    showQuality(label, mode, slider->value());
}

QString EncodeSettings::refusal() const
{
    const auto chosen = [this](const char *box) {
        return static_cast<QComboBox *>(widget(box))->currentIndex() == 1;
    };
    if (chosen("disableSoundcomboBox") && chosen("disableVideocomboBox"))
        return QCoreApplication::translate(
            "Velkoran",
            "Sound and video are both disabled, so nothing would be encoded. Set "
            "\"Disable sound from input\" or \"Disable video from input\" on the Output "
            "options page back to No.");
    return QString();
}

QVariantMap EncodeSettings::values(bool presetOnly) const
{
    QVariantMap map;
    for (const FormOption &o : formOptions()) {
        if (!o.key || (presetOnly && !o.inPresets))
            continue;
        QWidget *w = widget(o.widget);
        switch (o.kind) {
        case FormOption::Kind::Text:
            map.insert(o.key, static_cast<QLineEdit *>(w)->text());
            break;
        case FormOption::Kind::Flag:
            map.insert(o.key, static_cast<QComboBox *>(w)->currentIndex());
            break;
        case FormOption::Kind::Number:
            map.insert(o.key, static_cast<QSpinBox *>(w)->value());
            break;
        }
    }
    for (const QualityKeys &q : qualityKeys) {
        map.insert(q.mode,
                   static_cast<QComboBox *>(widget(q.audio ? "AudiocomboBox" : "VideocomboBox"))
                       ->currentIndex());
        map.insert(q.value, static_cast<QSlider *>(widget(q.audio ? "AudioQualityHorizontalSlider"
                                                                  : "VideoQualityHorizontalSlider"))
                                ->value());
    }
    return map;
}

namespace
{
// VALUE as a whole number within MINIMUM and MAXIMUM.
bool wholeWithin(const QVariant &value, int minimum, int maximum, int *out)
{
    bool ok = false;
    const int n = value.toString().toInt(&ok);
    if (!ok || n < minimum || n > maximum)
        return false;
    *out = n;
    return true;
}
} // namespace

QStringList EncodeSettings::apply(const QVariantMap &values)
{
    QStringList refused;
    QStringList known;
    for (const FormOption &o : formOptions()) {
        if (!o.key)
            continue;
        known << o.key;
        if (!values.contains(o.key))
            continue;
        const QVariant value = values.value(o.key);
        QWidget *w = widget(o.widget);
        int n = 0;
        switch (o.kind) {
        case FormOption::Kind::Text:
            if (value.canConvert<QString>() && value.typeId() != QMetaType::QStringList)
                static_cast<QLineEdit *>(w)->setText(value.toString());
            else
                refused << o.key;
            break;
        case FormOption::Kind::Flag:
            if (wholeWithin(value, 0, 1, &n))
                static_cast<QComboBox *>(w)->setCurrentIndex(n);
            else
                refused << o.key;
            break;
        case FormOption::Kind::Number: {
            auto *spin = static_cast<QSpinBox *>(w);
            if (wholeWithin(value, spin->minimum(), spin->maximum(), &n))
                spin->setValue(n);
            else
                refused << o.key;
            break;
        }
        }
    }
    for (const QualityKeys &q : qualityKeys) {
        known << q.mode << q.value;
        auto *mode = static_cast<QComboBox *>(widget(q.audio ? "AudiocomboBox" : "VideocomboBox"));
        auto *slider = static_cast<QSlider *>(
            widget(q.audio ? "AudioQualityHorizontalSlider" : "VideoQualityHorizontalSlider"));
        auto *label = static_cast<QLabel *>(
            widget(q.audio ? "AudioQualityHorizontalLabel" : "VideoQualityHorizontalLabel"));
        int m = mode->currentIndex();
        if (values.contains(q.mode)) {
            if (wholeWithin(values.value(q.mode), 0, 1, &m)) {
                mode->setCurrentIndex(m);
                enterQualityMode(slider, label, m, q.audio);
            } else {
                refused << q.mode;
                m = mode->currentIndex();
            }
        }
        if (values.contains(q.value)) {
            const QualityRange range = qualityRange(q.audio, m);
            int v = 0;
            if (wholeWithin(values.value(q.value), range.minimum, range.maximum, &v)) {
                slider->setValue(v);
                showQuality(label, m, v);
            } else {
                refused << q.value;
            }
        }
    }
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!known.contains(it.key()))
            refused << it.key();
    }
    return refused;
}

QVariantMap EncodeSettings::defaults()
{
    QVariantMap map;
    for (const FormOption &o : formOptions()) {
        if (!o.key)
            continue;
        if (o.kind == FormOption::Kind::Text)
            map.insert(o.key, QString());
        else if (o.kind == FormOption::Kind::Flag)
            map.insert(o.key, 0);
    }
    map.insert("output/sharpness", 2);
    map.insert("output/keyint", 64);
    for (const QualityKeys &q : qualityKeys) {
        map.insert(q.mode, 0);
        map.insert(q.value, qualityRange(q.audio, 0).start);
    }
    return map;
}

void EncodeSettings::save(QSettings &settings) const
{
    settings.beginGroup(QStringLiteral("form"));
    const QVariantMap map = values();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        settings.setValue(it.key(), it.value());
    settings.endGroup();
}

QStringList EncodeSettings::load(QSettings &settings)
{
    settings.beginGroup(QStringLiteral("form"));
    QVariantMap map;
    for (const QString &key : settings.allKeys())
        map.insert(key, settings.value(key));
    settings.endGroup();
    const QStringList refused = apply(map);
    for (const QString &key : refused)
        qCWarning(lcSettings).noquote() << "settings: ignored" << key << "="
                                        << map.value(key).toString() << "in" << settings.fileName();
    return refused;
}
