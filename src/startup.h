// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef STARTUP_H
#define STARTUP_H

#include <QString>
#include <QStringList>

class QTranslator;

// Where the catalogues installed with the program lie, most likely first:
// beside it in the build tree, and under the install prefix.
QStringList catalogueDirectories(const QString &programDir);

// Loads the catalogue "velkoran_" + LOCALE: first relative to the working
// directory, with the translator's default delimiters and suffix (so de_AT
// falls back to velkoran_de), and only when none is found there, from the
// program's own catalogue directories. Returns whether one was loaded.
bool loadCatalogue(QTranslator &translator, const QString &locale, const QString &programDir);

// Loads the toolkit's own catalogue for LOCALE ("qtbase_" + LOCALE, shortened
// as above, so de_AT finds qtbase_de) from the toolkit's translations
// directory: its dialogs, buttons and menus then speak the user's language.
bool loadToolkitCatalogue(QTranslator &translator, const QString &locale);

// Loads our catalogue for LOCALE, and the toolkit's only when ours was found:
// a window in one language, never English questions with foreign buttons.
// Returns whether ours was loaded.
bool loadCatalogues(QTranslator &ours, QTranslator &toolkit, const QString &locale,
                    const QString &programDir);

// Installs the toolkit's catalogue and then ours. The one installed last is
// searched first, so our own texts win where both have one.
void installCatalogues(QTranslator &toolkit, QTranslator &ours);

// The encoder installed with the program: beside it in the build tree, or in
// libexec/velkoran under the install prefix. Empty when there is none.
QString bundledEncoder(const QString &programDir);

// What the command line asks for, read before the toolkit starts (which
// needs a display): the window, the version, the usage, or nothing because an
// option is unknown. The toolkit's own options (-platform NAME, -style NAME,
// ...) are left to it; "--" ends the options.
struct EarlyRequest {
    enum Kind { Window, Version, Help, Refused } kind = Window;
    QString refused; // the unknown option
};
EarlyRequest readCommandLine(const QStringList &arguments);

// The files named on the command line, after the toolkit took its options
// out: everything but the program and a "--" before them.
QStringList filesFromCommandLine(QStringList arguments);

// The usage that --help prints, and the line that refuses OPTION; translated.
QString usageText();
QString refusalText(const QString &option);

// The encoder the window runs, and why that one.
struct EncoderChoice {
    QString path; // empty when there is none at all
    QString why;
};

// Whether PROGRAM answers --version as this project's encoder does.
bool isOurEncoder(const QString &program);

// Chooses the encoder: the one installed with the program, unless there is
// none, or the ffmpeg2theora found first on the search path is ours as well
// (a developer's build, say). Another program of that name on the path is
// passed over, for it would not understand our options. The command text
// names the program "ffmpeg2theora", so an installed one that is chosen is
// put first on PATH.
EncoderChoice chooseEncoder(const QString &programDir);

#endif
