// SPDX-License-Identifier: GPL-3.0-or-later
// The forecast beside the Encode button: what it shows, and that it follows
// the form, one forecast at a time.

#include "forecast.h"
#include "previewdialog.h"
#include "testsupport.h"

class TestForecast : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void shown_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("text"); // empty: nothing shown
        QTest::newRow("minutes") << QByteArray("forecast size=142000000 seconds=190.4 workers=2\n")
                                 << QString("about 142 MB \u00b7 about 3 min 10 s");
        QTest::newRow("seconds, small")
            << QByteArray("note\nforecast size=52300 seconds=4.6 workers=1\n")
            << QString("about 52 kB \u00b7 about 5 s");
        QTest::newRow("hours, large")
            << QByteArray("forecast size=1234000000 seconds=3700 workers=8")
            << QString("about 1.2 GB \u00b7 about 1 h 2 min");
        QTest::newRow("unknown") << QByteArray("forecast unknown\n") << QString();
        QTest::newRow("no line") << QByteArray() << QString();
    }

    void shown()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, text);
        const ForecastFigures f = readForecast(line);
        QCOMPARE(f.known ? forecastText(f.bytes, f.seconds) : QString(), text);
    }

    // Once the probe has told the length, a forecast runs; a change of the
    // quality starts a new one and stops the one still running.
    void qualityChangeStartsAnew()
    {
        FakeEncoder fake;
        // The first forecast (run 1) waits to be stopped and notes it.
        fake.setBehaviour("case \"$*\" in *--forecast*)\n"
                          "  if [ \"$n\" = 1 ]; then trap 'touch \"$d/stopped\"; exit 143' TERM;"
                          " sleep 30 & wait; fi\n"
                          "  echo 'forecast size=142000000 seconds=190 workers=2'; exit 0;;\n"
                          "esac\n"
                          "printf '  Duration: 0:01:00.00\\n' >&2; sleep 5",
                          false);
        Velkoran w;
        Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
        ui.openFileNameLineEdit->setText("/in.avi");
        ui.openDirectoryLineEdit->setText(fake.dir.path() + "/");
        ui.outputFileNameLineEdit->setText("out.ogg");
        EncodeForecast *forecast = VelkoranTestAccess::forecast(w);
        QLabel *label = nullptr;
        for (QLabel *l : w.findChildren<QLabel *>())
            if (l->accessibleName().startsWith("Forecast"))
                label = l;
        QVERIFY(label);
        ui.getDurationpushButton->setEnabled(true);
        ui.getDurationpushButton->click();

        QTRY_COMPARE_WITH_TIMEOUT(fake.runs(), 2, 10000);
        QVERIFY(fake.arguments(1).contains("--forecast"));
        QVERIFY(!fake.arguments(1).contains("-o"));
        QTRY_VERIFY(forecast->running());
        QVERIFY(label->text().isEmpty());

        ui.VideoQualityHorizontalSlider->setValue(ui.VideoQualityHorizontalSlider->value() + 10);
        QTRY_COMPARE_WITH_TIMEOUT(fake.runs(), 3, 10000);
        QTRY_VERIFY(QFile::exists(fake.path("stopped")));
        const QStringList args = fake.arguments(2);
        QCOMPARE(args.value(args.indexOf("--videoquality") + 1),
                 ui.VideoQualityHorizontalLabel->text());
        QTRY_COMPARE(label->text(), QString("about 142 MB \u00b7 about 3 min 10 s"));
        QCOMPARE(fake.runs(), 3);
    }

    // Several queued files are forecast one at a time, each with the form's
    // options, and the sum is shown with the files that could not be; the
    // queue's start stops it and takes it away.
    void queueForecastSummed()
    {
        FakeEncoder fake;
        fake.setBehaviour(
            "case \"$*\" in *--forecast*)\n"
            "  [ -e \"$d/busy\" ] && touch \"$d/overlap\"; touch \"$d/busy\"; sleep 0.2;"
            " rm \"$d/busy\"\n"
            "  case \"$*\" in *a.avi*) echo 'forecast size=100000000 seconds=60 workers=2';;\n"
            "    *b.avi*) echo 'forecast size=50000000 seconds=30.4 workers=2';;\n"
            "    *) echo 'forecast unknown';; esac; exit 0;;\n"
            "esac\n"
            "sleep 30");
        Velkoran w;
        Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
        ui.openDirectoryLineEdit->setText(fake.dir.path() + "/");
        auto *label = w.findChild<QLabel *>("forecastLabel");
        QVERIFY(label && label->accessibleName().startsWith("Forecast"));
        w.chooseInputFiles({fake.path("a.avi"), fake.path("b.avi"), fake.path("c.avi")});
        const QString sum("3 files: about 150 MB \u00b7 about 1 min 30 s (1 of 3 unknown)");
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), sum, 15000);
        QCOMPARE(label->accessibleDescription(), sum);
        QCOMPARE(fake.runs(), 3);
        QVERIFY(!QFile::exists(fake.path("overlap")));
        for (int n = 0; n < 3; ++n) // in turn, each with the form's options
            QCOMPARE(fake.arguments(n),
                     QStringList(fake.path(QString("abc")[n] + QString(".avi"))) +
                         fake.arguments(0).mid(1));

        ModalWatcher watcher(QMessageBox::Cancel);
        ui.EncodeToTheorapushButton->click();
        QTRY_COMPARE(fake.runs(), 4);
        QVERIFY(!fake.arguments(3).contains("--forecast"));
        QVERIFY(label->text().isEmpty() && !VelkoranTestAccess::forecast(w)->running());
        ui.CancelpushButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(ui.EncodeToTheorapushButton->isEnabled(), 10000);
    }

    // The Preview asks the encoder for both pictures at the time chosen,
    // with the form's options and no output, and shows them.
    void previewShowsBothPictures()
    {
        FakeEncoder fake;
        QImage picture(32, 16, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(fake.path("pic.png")));
        fake.setBehaviour(
            "case \"$*\" in *--preview-at*)\n"
            "  prev=''; for a in \"$@\"; do case \"$prev\" in --preview|--preview-source)"
            " cp \"$d/pic.png\" \"$a\";; esac; prev=\"$a\"; done; exit 0;;\n"
            "  *--forecast*) exit 0;;\n"
            "esac\n"
            "printf '  Duration: 0:01:00.00\\n' >&2; sleep 5",
            false);
        Velkoran w;
        Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
        ui.openFileNameLineEdit->setText("/in.avi");
        QPushButton *button = nullptr;
        for (QPushButton *b : w.findChildren<QPushButton *>())
            if (b->text().contains("view"))
                button = b;
        QVERIFY(button && !button->isEnabled());
        ui.getDurationpushButton->setEnabled(true);
        ui.getDurationpushButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled(), 10000);

        ModalWatcher watcher;
        bool asked = false;
        QStringList shown;
        watcher.onDialog = [&](QWidget *dialog) {
            auto *preview = qobject_cast<PreviewDialog *>(dialog);
            if (!preview)
                return;
            if (!asked) {
                asked = true;
                preview->timeEdit()->setTime(QTime(0, 0, 42));
                preview->showButton()->click();
            } else if (!preview->after()->pixmap().isNull()) {
                for (QLabel *l : {preview->before(), preview->after()})
                    if (!l->pixmap().isNull())
                        shown << l->accessibleDescription();
                preview->reject();
            }
        };
        button->click();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[1].contains("0:00:42"));
        QStringList args;
        for (int n = 0; n < fake.runs(); ++n)
            if (fake.arguments(n).contains("--preview-at"))
                args = fake.arguments(n);
        QCOMPARE(args.value(args.indexOf("--preview-at") + 1), QString("42"));
        QVERIFY(!args.contains("-o"));
        QVERIFY(args.contains("--preview-source"));
        QCOMPARE(args.value(args.indexOf("--videoquality") + 1),
                 ui.VideoQualityHorizontalLabel->text());
    }
};

QTEST_MAIN(TestForecast)
#include "tst_forecast.moc"
