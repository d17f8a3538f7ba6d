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

// When no ffmpeg2theora is on the search path, puts the directory of the one
// installed with the program first on PATH, so that the command text, which
// names the program "ffmpeg2theora", finds it. Returns the encoder in use, or
// an empty string when there is none at all.
QString useBundledEncoderIfMissing(const QString &programDir);

#endif
