// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowsettings.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

#include "encodesettings.h"
#include "inputchooser.h"

WindowSettings::WindowSettings(QWidget *window, EncodeSettings &form, QLineEdit *input,
                               QLineEdit *outputDir)
    : window(window), form(form), input(input), outputDir(outputDir)
{
}

QString WindowSettings::file()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velkoran/velkoran.conf");
}

void WindowSettings::save()
{
    QSettings file(WindowSettings::file(), QSettings::IniFormat);
    // Written to a new file beside it that replaces it whole (QSaveFile), so
    // a crash or a kill never leaves half a file; that is the default, set here
    // so that it stays so.
    file.setAtomicSyncRequired(true);
    form.save(file);
    const QString dir = !chosenDir.isEmpty() ? chosenDir : rememberedDir;
    if (!dir.isEmpty())
        file.setValue(QStringLiteral("output/directory"), dir);
    else
        file.remove(QStringLiteral("output/directory"));
    file.setValue(QStringLiteral("window/size"), window->size());
    file.sync();
}

void WindowSettings::load()
{
    QSettings file(WindowSettings::file(), QSettings::IniFormat);
    form.load(file);
    // A file that holds nothing this window wrote is damaged, or no settings file.
    const bool unread = QFileInfo(file.fileName()).size() > 0 && file.childGroups().isEmpty();
    if (file.status() != QSettings::NoError || unread)
        qWarning().noquote() << "settings: cannot read all of" << file.fileName()
                             << "- the form's first values stand for what is damaged";
    const QString dir = file.value(QStringLiteral("output/directory")).toString();
    if (!dir.isEmpty() && QFileInfo(dir).isDir()) {
        rememberedDir = dir.endsWith(u'/') ? dir : dir + u'/';
        outputDir->setText(rememberedDir);
    } else if (!dir.isEmpty()) {
        qWarning().noquote() << "settings: ignored output/directory =" << dir
                             << "(no such directory)";
    }
    const QSize saved = file.value(QStringLiteral("window/size")).toSize();
    if (saved.isValid())
        window->resize(saved.expandedTo(window->minimumSizeHint()));
}

void WindowSettings::reset()
{
    form.apply(EncodeSettings::defaults());
    chosenDir.clear();
    if (!rememberedDir.isEmpty() && outputDir->text() == rememberedDir) {
        const QString path = input->text();
        outputDir->setText(path.isEmpty() ? QString() : InputChooser::proposedDir(path));
    }
    rememberedDir.clear();
}
