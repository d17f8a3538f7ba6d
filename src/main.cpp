#include <QApplication>
#include <QLocale>
#include <QTranslator>

#include "startup.h"
#include "velkoran.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QString locale = QLocale::system().name();
    QTranslator translator;
    loadCatalogue(translator, locale, QCoreApplication::applicationDirPath());
    app.installTranslator(&translator);

    useBundledEncoderIfMissing(QCoreApplication::applicationDirPath());

    Velkoran *window = new Velkoran;
    window->show();
    int result = app.exec();
    return result;
}
