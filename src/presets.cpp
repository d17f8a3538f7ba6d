// SPDX-License-Identifier: GPL-3.0-or-later
#include "presets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "encodesettings.h"

namespace
{
const char *const boxTitle = "Velkoran Theora Encoder";

// A preset's settings: the form's first values, with CHANGES.
QVariantMap firstValuesWith(const QVariantMap &changes)
{
    QVariantMap values;
    const QVariantMap defaults = EncodeSettings::defaults();
    for (const FormOption &o : formOptions()) {
        if (o.key && o.inPresets)
            values.insert(o.key, defaults.value(o.key));
    }
    for (const char *key :
         {"quality/audioMode", "quality/audio", "quality/videoMode", "quality/video"})
        values.insert(key, defaults.value(key));
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        values.insert(it.key(), it.value());
    return values;
}

// The file of the user's preset NAME: its name, with what a file name
// cannot hold replaced.
QString fileOf(const QString &name)
{
    QString file = name;
    file.replace(QRegularExpression(QStringLiteral("[/\\\\\\x00-\\x1f]")), QStringLiteral("_"));
    if (file.startsWith(u'.'))
        file.prepend(u'_');
    return Presets::directory() + u'/' + file + QStringLiteral(".preset");
}
} // namespace

QList<Preset> Presets::builtIns()
{
    return {
        {QCoreApplication::translate("Velkoran", "Small file for the web"),
         QCoreApplication::translate("Velkoran", "A small file that loads quickly on a web page."),
         firstValuesWith({{"quality/audio", 10}, {"quality/video", 50}}), true},
        {QCoreApplication::translate("Velkoran", "High-quality archive copy"),
         QCoreApplication::translate("Velkoran",
                                     "Keeps nearly every detail, for keeping; the file is large."),
         firstValuesWith({{"quality/audio", 80}, {"quality/video", 90}, {"output/sharpness", 0}}),
         true},
        {QCoreApplication::translate("Velkoran", "Pictures only"),
         QCoreApplication::translate("Velkoran",
                                     "No sound: for a silent clip or a screen recording."),
         firstValuesWith({{"output/nosound", 1}}), true},
        {QCoreApplication::translate("Velkoran", "Sound only (Ogg Vorbis)"),
         QCoreApplication::translate(
             "Velkoran", "No pictures: for music, a talk or a podcast, as an Ogg Vorbis file."),
         firstValuesWith({{"output/novideo", 1}}), true},
    };
}

QString Presets::directory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velkoran/presets");
}

QList<Preset> Presets::all()
{
    QList<Preset> list = builtIns();
    const QDir dir(directory());
    for (const QString &file :
         dir.entryList({QStringLiteral("*.preset")}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        QSettings text(dir.filePath(file), QSettings::IniFormat);
        Preset p;
        p.name = text.value(QStringLiteral("preset/name")).toString();
        if (p.name.isEmpty())
            continue;
        text.beginGroup(QStringLiteral("form"));
        for (const QString &key : text.allKeys())
            p.values.insert(key, text.value(key));
        list << p;
    }
    return list;
}

bool Presets::save(const QString &name, const QVariantMap &values)
{
    if (name.trimmed().isEmpty() || !QDir().mkpath(directory()))
        return false;
    QSettings text(fileOf(name), QSettings::IniFormat);
    text.clear();
    text.setValue(QStringLiteral("preset/name"), name);
    text.beginGroup(QStringLiteral("form"));
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        text.setValue(it.key(), it.value());
    text.endGroup();
    text.sync();
    return text.status() == QSettings::NoError;
}

bool Presets::remove(const QString &name)
{
    return QFile::remove(fileOf(name));
}

PresetBar::PresetBar(QWidget *parent, EncodeSettings &settings)
    : QWidget(parent), settings(settings), box(new QComboBox(this)), description(new QLabel(this)),
      applyButton(new QPushButton(QCoreApplication::translate("Velkoran", "Apply"), this)),
      saveButton(new QPushButton(QCoreApplication::translate("Velkoran", "Save as…"), this)),
      deleteButton(new QPushButton(QCoreApplication::translate("Velkoran", "Delete"), this)),
      resetButton(
          new QPushButton(QCoreApplication::translate("Velkoran", "Reset to defaults"), this))
{
    setObjectName(QStringLiteral("presetBar"));
    box->setObjectName(QStringLiteral("presetComboBox"));
    applyButton->setObjectName(QStringLiteral("presetApplyButton"));
    saveButton->setObjectName(QStringLiteral("presetSaveButton"));
    deleteButton->setObjectName(QStringLiteral("presetDeleteButton"));
    description->setObjectName(QStringLiteral("presetDescriptionLabel"));
    resetButton->setObjectName(QStringLiteral("resetDefaultsButton"));
    description->setWordWrap(true);
    auto *label = new QLabel(QCoreApplication::translate("Velkoran", "Preset:"), this);
    label->setBuddy(box);
    box->setAccessibleName(QCoreApplication::translate("Velkoran", "Preset"));
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(box);
    row->addWidget(applyButton);
    row->addWidget(saveButton);
    row->addWidget(deleteButton);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(row);
    auto *below = new QHBoxLayout;
    below->addWidget(description, 1);
    below->addWidget(resetButton);
    column->addLayout(below);
    fill();
    connect(box, &QComboBox::currentIndexChanged, this, &PresetBar::showDescription);
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(box->currentText()); });
    connect(saveButton, &QPushButton::clicked, this, &PresetBar::askAndSave);
    connect(resetButton, &QPushButton::clicked, this, &PresetBar::resetAsked);
    connect(deleteButton, &QPushButton::clicked, this, [this] {
        if (QMessageBox::question(
                this, boxTitle,
                QCoreApplication::translate("Velkoran", "Delete the preset \"%1\"?")
                    .arg(box->currentText())) == QMessageBox::Yes)
            remove(box->currentText());
    });
}

void PresetBar::fill(const QString &current)
{
    box->clear();
    for (const Preset &p : Presets::all()) {
        box->addItem(p.name, p.builtIn);
        box->setItemData(box->count() - 1, p.description, Qt::ToolTipRole);
    }
    const int at = box->findText(current);
    box->setCurrentIndex(at >= 0 ? at : 0);
    showDescription();
}

void PresetBar::showDescription()
{
    description->setText(box->currentData(Qt::ToolTipRole).toString());
    deleteButton->setEnabled(box->count() > 0 && !box->currentData().toBool());
}

QStringList PresetBar::names() const
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

bool PresetBar::apply(const QString &name)
{
    for (const Preset &p : Presets::all()) {
        if (p.name == name) {
            settings.apply(p.values);
            return true;
        }
    }
    return false;
}

bool PresetBar::save(const QString &name)
{
    for (const Preset &p : Presets::builtIns()) {
        if (p.name == name)
            return false; // a built-in one stays as it is
    }
    if (!Presets::save(name, settings.values(true)))
        return false;
    fill(name);
    return true;
}

bool PresetBar::remove(const QString &name)
{
    if (!Presets::remove(name))
        return false;
    fill();
    return true;
}

void PresetBar::askAndSave()
{
    const QString name = QInputDialog::getText(
        this, boxTitle, QCoreApplication::translate("Velkoran", "Save the settings as:"));
    if (name.trimmed().isEmpty())
        return;
    if (!save(name.trimmed()))
        QMessageBox::warning(
            this, boxTitle,
            QCoreApplication::translate("Velkoran", "The preset \"%1\" could not be saved in %2.")
                .arg(name.trimmed(), Presets::directory()));
}
