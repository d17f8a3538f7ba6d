#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

#include "startup.h"
#include "velkoran.h"

// Off unless asked for with QT_LOGGING_RULES="velkoran.startup.info=true":
// which catalogue and which encoder a start found.
Q_LOGGING_CATEGORY(lcStartup, "velkoran.startup", QtWarningMsg)

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Ties the window to its installed desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velkoran.TheoraEncoder"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.velkoran.TheoraEncoder")));
    QString locale = QLocale::system().name();
    QTranslator translator;
    QTranslator toolkitTranslator;
    loadCatalogues(translator, toolkitTranslator, locale, QCoreApplication::applicationDirPath());
    installCatalogues(toolkitTranslator, translator);
    qCInfo(lcStartup) << "catalogue:" << translator.filePath();
    qCInfo(lcStartup) << "toolkit catalogue:" << toolkitTranslator.filePath();

    const QString encoder = useBundledEncoderIfMissing(QCoreApplication::applicationDirPath());
    qCInfo(lcStartup) << "encoder:" << encoder;

    Velkoran *window = new Velkoran;
    window->show();

    // A file handed over by the desktop ("Open With") becomes the input file.
    const QString input = inputArgument(QCoreApplication::arguments());
    if (!input.isEmpty())
        window->chooseInputFile(input);

    int result = app.exec();
    return result;
}
