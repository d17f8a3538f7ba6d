<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>EncodeForecast</name>
    <message>
        <location filename="../src/forecast.cpp" line="36"/>
        <source>about %1 GB</source>
        <translation>etwa %1 GB</translation>
    </message>
    <message>
        <location filename="../src/forecast.cpp" line="38"/>
        <source>about %1 MB</source>
        <translation>etwa %1 MB</translation>
    </message>
    <message>
        <location filename="../src/forecast.cpp" line="41"/>
        <source>about %1 kB</source>
        <translation>etwa %1 kB</translation>
    </message>
    <message>
        <location filename="../src/forecast.cpp" line="46"/>
        <source>about %1 s</source>
        <translation>etwa %1 s</translation>
    </message>
    <message>
        <location filename="../src/forecast.cpp" line="49"/>
        <source>about %1 min %2 s</source>
        <translation>etwa %1 min %2 s</translation>
    </message>
    <message>
        <location filename="../src/forecast.cpp" line="50"/>
        <location filename="../src/forecast.cpp" line="54"/>
        <source>about %1 min</source>
        <translation>etwa %1 min</translation>
    </message>
    <message>
        <location filename="../src/forecast.cpp" line="55"/>
        <source>about %1 h %2 min</source>
        <translation>etwa %1 h %2 min</translation>
    </message>
    <message>
        <location filename="../src/forecast.cpp" line="75"/>
        <source>Forecast of the encoded file&apos;s size and the encoding time</source>
        <translation>Vorhersage der Dateigröße und der Kodierdauer</translation>
    </message>
    <message>
        <location filename="../src/forecast.cpp" line="66"/>
        <source>%1 files: %2</source>
        <translation>%1 Dateien: %2</translation>
    </message>
    <message>
        <location filename="../src/forecast.cpp" line="67"/>
        <source>%1 files: %2 (%3 of %1 unknown)</source>
        <translation>%1 Dateien: %2 (%3 von %1 unbekannt)</translation>
    </message>
    <message>
        <location filename="../src/forecast.cpp" line="173"/>
        <source>Forecast of the queue: %1 of %2 files…</source>
        <translation>Vorhersage der Warteschlange: %1 von %2 Dateien …</translation>
    </message>
</context>
<context>
    <name>EncodeQueue</name>
    <message>
        <location filename="../src/queue.cpp" line="61"/>
        <source>The encode of %1 would replace %2, which is in the queue too.</source>
        <translation>Die Kodierung von %1 würde %2 ersetzen, das ebenfalls in der Warteschlange steht.</translation>
    </message>
    <message>
        <location filename="../src/queue.cpp" line="68"/>
        <source>%1 and %2 would both be encoded to %3.

Please encode one of them on its own, with a name of its own.</source>
        <translation>%1 und %2 würden beide nach %3 kodiert.

Bitte kodieren Sie eine der beiden Dateien einzeln, unter einem eigenen Namen.</translation>
    </message>
    <message>
        <location filename="../src/queue.cpp" line="207"/>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <location filename="../src/queue.cpp" line="217"/>
        <source>+ %1 more</source>
        <translation>+ %1 weitere</translation>
    </message>
    <message>
        <location filename="../src/queue.cpp" line="222"/>
        <source>The encode was cancelled.

Do you want to drop the rest of the queue as well? Files left: %1</source>
        <translation>Die Kodierung wurde abgebrochen.

Möchten Sie auch den Rest der Warteschlange verwerfen? Verbleibende Dateien: %1</translation>
    </message>
    <message>
        <location filename="../src/queue.cpp" line="229"/>
        <source>%1 encoded · %2 skipped · %3 failed</source>
        <translation>%1 kodiert · %2 übersprungen · %3 fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../src/queue.cpp" line="237"/>
        <source>The queue is done: %1.</source>
        <translation>Die Warteschlange ist abgearbeitet: %1.</translation>
    </message>
    <message>
        <location filename="../src/queue.cpp" line="239"/>
        <source>Encoded:</source>
        <translation>Kodiert:</translation>
    </message>
    <message>
        <location filename="../src/queue.cpp" line="240"/>
        <source>Skipped:</source>
        <translation>Übersprungen:</translation>
    </message>
    <message>
        <location filename="../src/queue.cpp" line="241"/>
        <source>Failed:</source>
        <translation>Fehlgeschlagen:</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="178"/>
        <location filename="../src/encodepreflight.cpp" line="232"/>
        <location filename="../src/queuerunner.cpp" line="57"/>
        <location filename="../src/queuerunner.cpp" line="80"/>
        <location filename="../src/queuerunner.cpp" line="86"/>
        <source>the queue was stopped</source>
        <translation>die Warteschlange wurde angehalten</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="139"/>
        <source>%1 was kept</source>
        <translation>%1 wurde behalten</translation>
    </message>
    <message>
        <location filename="../src/queuerunner.cpp" line="75"/>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <location filename="../src/queuerunner.cpp" line="99"/>
        <source>The queue is done</source>
        <translation>Die Warteschlange ist abgearbeitet</translation>
    </message>
</context>
<context>
    <name>PreviewDialog</name>
    <message>
        <location filename="../src/previewdialog.cpp" line="29"/>
        <location filename="../src/previewdialog.cpp" line="30"/>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="31"/>
        <source>One picture of the video before and after encoding with the chosen settings</source>
        <translation>Ein Bild des Videos vor und nach dem Kodieren mit den gewählten Einstellungen</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="36"/>
        <source>&amp;Time:</source>
        <translation>&amp;Zeit:</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="41"/>
        <source>Time of the picture</source>
        <translation>Zeitpunkt des Bildes</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="43"/>
        <source>&amp;Show</source>
        <translation>&amp;Anzeigen</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="44"/>
        <source>Makes the pictures at the time chosen</source>
        <translation>Erstellt die Bilder zum gewählten Zeitpunkt</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="52"/>
        <source>Before encoding</source>
        <translation>Vor dem Kodieren</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="52"/>
        <source>After encoding</source>
        <translation>Nach dem Kodieren</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="66"/>
        <source>Preview status</source>
        <translation>Stand der Vorschau</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="106"/>
        <source>Making the pictures at %1…</source>
        <translation>Die Bilder bei %1 werden erstellt…</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="118"/>
        <source>The picture at %1 before encoding</source>
        <translation>Das Bild bei %1 vor dem Kodieren</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="119"/>
        <source>The picture at %1 after encoding</source>
        <translation>Das Bild bei %1 nach dem Kodieren</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="129"/>
        <source>The pictures at %1: on the left as the video is, on the right as the encoded file will show it.</source>
        <translation>Die Bilder bei %1: links so, wie das Video ist, rechts so, wie die kodierte Datei es zeigen wird.</translation>
    </message>
    <message>
        <location filename="../src/previewdialog.cpp" line="133"/>
        <source>The pictures at %1 could not be made.</source>
        <translation>Die Bilder bei %1 konnten nicht erstellt werden.</translation>
    </message>
    <message>
        <location filename="../src/forecastroom.cpp" line="36"/>
        <source>Pre&amp;view…</source>
        <translation>&amp;Vorschau…</translation>
    </message>
    <message>
        <location filename="../src/forecastroom.cpp" line="37"/>
        <source>Shows a picture of the video before and after encoding with these settings</source>
        <translation>Zeigt ein Bild des Videos vor und nach dem Kodieren mit diesen Einstellungen</translation>
    </message>
</context>
<context>
    <name>Usage</name>
    <message>
        <location filename="../src/startup.cpp" line="168"/>
        <source>Usage: velkoran [OPTION]... [FILE]...
Opens the window of the Velkoran Theora Encoder, which converts videos to Ogg Theora.
Each FILE is a video to encode; several are encoded one after another.

  -h, --help          show this help and exit
      --version       show the version and the license and exit
      --              what follows are files, even when they begin with a dash

The toolkit&apos;s own options are accepted as well, among them:
  -platform NAME      the window system to use (xcb, wayland, offscreen)
  -style NAME         the style of the widgets (Fusion, Windows)
  -reverse            lay the window out from right to left

Exit status: 0 when the window was closed, 2 for an unknown option.
The manual page (man velkoran) tells more.
</source>
        <translation>Aufruf: velkoran [OPTION]... [DATEI]...
Öffnet das Fenster des Velkoran Theora Encoder, der Videos in Ogg Theora umwandelt.
Jede DATEI ist ein Video zum Umwandeln; mehrere werden nacheinander umgewandelt.

  -h, --help          diese Hilfe zeigen und beenden
      --version       die Version und die Lizenz zeigen und beenden
      --              was folgt, sind Dateien, auch wenn sie mit einem Strich beginnen

Die eigenen Optionen des Toolkits werden ebenfalls angenommen, darunter:
  -platform NAME      das zu verwendende Fenstersystem (xcb, wayland, offscreen)
  -style NAME         der Stil der Bedienelemente (Fusion, Windows)
  -reverse            das Fenster von rechts nach links anordnen

Rückgabewert: 0, wenn das Fenster geschlossen wurde, 2 bei einer unbekannten Option.
Die Handbuchseite (man velkoran) sagt mehr.
</translation>
    </message>
    <message>
        <location filename="../src/startup.cpp" line="189"/>
        <source>velkoran: unknown option &quot;%1&quot;; velkoran --help lists the options
</source>
        <translation>velkoran: unbekannte Option „%1“; velkoran --help nennt die Optionen
</translation>
    </message>
</context>
<context>
    <name>Velkoran</name>
    <message>
        <location filename="../src/velkoran.ui" line="6"/>
        <location filename="../src/queuerunner.cpp" line="124"/>
        <source>Velkoran Theora Encoder</source>
        <translation>Velkoran Theora-Encoder</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="17"/>
        <source>Encode</source>
        <translation>Kodieren</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="47"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Path to encoded file:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Zielordner der kodierten Datei:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="60"/>
        <source>ffmpeg2theora</source>
        <translation>ffmpeg2theora</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="65"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Encoded file name:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Name der kodierten Datei:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="69"/>
        <source>Encoding quality</source>
        <translation>Kodierqualität</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="79"/>
        <source>Audio Quality</source>
        <translation>Audioqualität</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="82"/>
        <source>Audio Bitrate</source>
        <translation>Audio-Bitrate</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="89"/>
        <source>Video Quality</source>
        <translation>Videoqualität</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="92"/>
        <source>Video Bitrate</source>
        <translation>Video-Bitrate</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="116"/>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="123"/>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="134"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Select your encoder:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Wählen Sie den Encoder:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="143"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Please select a video file to encode:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Bitte wählen Sie die zu kodierende Videodatei:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="147"/>
        <source>Metadata information</source>
        <translation>Metadaten</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="156"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Licence:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Lizenz:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="163"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Copyright:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Copyright:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="167"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Location:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Ort:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="174"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Organization:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Firma:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="181"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Date:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Datum:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="188"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Artist:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Künstler:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="192"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Title:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Titel:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="199"/>
        <source>Output options</source>
        <translation>Ausgabeoptionen</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="209"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Start encoding at this time:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Kodierung beginnen bei:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="215"/>
        <source>hh:mm:ss</source>
        <translation>hh:mm:ss</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="221"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;End encoding at this time:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Kodierung beenden bei:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="227"/>
        <source>hh:mm:ss </source>
        <translation>hh:mm:ss </translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="232"/>
        <source>Crop input before resizing</source>
        <translation>Eingabe vor dem Skalieren zuschneiden</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="245"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Right:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Rechts:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="254"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Left:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Links:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="259"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Bottom:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Unten:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="264"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Top:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Oben:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="280"/>
        <source>Sharpness of images:</source>
        <translation>Bildschärfe:</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="286"/>
        <location filename="../src/velkoran.ui" line="375"/>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="289"/>
        <location filename="../src/velkoran.ui" line="378"/>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="295"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Scale height to given size:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Auf diese Höhe skalieren:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="316"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Define frame aspect ratio: i.e. 4:3 or 16:9:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Seitenverhältnis (z. B. 4:3 oder 16:9):&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="321"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Scale width to given size:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Auf diese Breite skalieren:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="330"/>
        <source>Set niceness to n:</source>
        <translation>Prozesspriorität (nice-Wert):</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="335"/>
        <source>Set output samplerate in Hz:</source>
        <translation>Ausgabe-Abtastrate in Hz:</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="346"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Disable sound from input:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Ton der Eingabe entfernen:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="351"/>
        <source>Keyframe interval:</source>
        <translation>Schlüsselbild-Intervall:</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="385"/>
        <source>Input options</source>
        <translation>Eingabeoptionen</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="398"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Over input fps:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Eingabe-Bildrate überschreiben (fps):&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="403"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Specify input format:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Eingabeformat angeben:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="412"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Deinterlace:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Deinterlacing:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="418"/>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="421"/>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="114"/>
        <source>Select your file</source>
        <translation>Datei auswählen</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="139"/>
        <source>Select your directory</source>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="126"/>
        <source>The encoded file would replace the video being encoded:
%1

Please choose another file name or directory.</source>
        <translation>Die kodierte Datei würde das Video ersetzen, das kodiert wird:
%1

Bitte wählen Sie einen anderen Dateinamen oder Ordner.</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="169"/>
        <source>The file %1 already exists.

Do you want to replace it?</source>
        <translation>Die Datei %1 existiert bereits.

Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <location filename="../src/jobreport.cpp" line="27"/>
        <source>The encoder crashed.</source>
        <translation>Der Encoder ist abgestürzt.</translation>
    </message>
    <message>
        <location filename="../src/jobreport.cpp" line="30"/>
        <source>The encoder stopped with exit code %1.</source>
        <translation>Der Encoder wurde mit dem Exit-Code %1 beendet.</translation>
    </message>
    <message>
        <location filename="../src/jobstory.cpp" line="82"/>
        <source>The length of the input file could not be read.</source>
        <translation>Die Länge der Eingabedatei konnte nicht ermittelt werden.</translation>
    </message>
    <message>
        <location filename="../src/jobstory.cpp" line="43"/>
        <source>The encoder &quot;%1&quot; could not be started:
%2</source>
        <translation>Der Encoder &quot;%1&quot; konnte nicht gestartet werden:
%2</translation>
    </message>
    <message>
        <location filename="../src/jobstory.cpp" line="37"/>
        <source>No temporary directory could be made for reading the length of the input file:
%1</source>
        <translation>Für das Ermitteln der Länge der Eingabedatei konnte kein temporärer Ordner angelegt werden:
%1</translation>
    </message>
    <message>
        <location filename="../src/lengthprobe.cpp" line="37"/>
        <source>The input is %1:%2:%3 long. Only inputs shorter than a day can be trimmed; the whole input will be encoded.</source>
        <translation>Die Eingabe ist %1:%2:%3 lang. Nur Eingaben unter einem Tag können zugeschnitten werden; die ganze Eingabe wird kodiert.</translation>
    </message>
    <message>
        <location filename="../src/windowevents.cpp" line="25"/>
        <source>An encode is still running.

What is already encoded in finished chunks is kept, and Encode with the same settings resumes it.

Stop it and quit?</source>
        <translation>Eine Kodierung läuft noch.

Was in fertigen Abschnitten schon kodiert ist, bleibt erhalten; Kodieren mit denselben Einstellungen setzt es fort.

Kodierung abbrechen und beenden?</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="114"/>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <location filename="../src/queue.cpp" line="211"/>
        <location filename="../src/timeleft.cpp" line="41"/>
        <location filename="../src/timeleft.cpp" line="103"/>
        <source>about %1 left</source>
        <translation>noch etwa %1</translation>
    </message>
    <message>
        <location filename="../src/timeleft.cpp" line="102"/>
        <source>finishing, about %1 left</source>
        <translation>wird abgeschlossen, noch etwa %1</translation>
    </message>
    <message>
        <location filename="../src/encoderoom.cpp" line="40"/>
        <source>Please choose the directory for the encoded file.</source>
        <translation>Bitte wählen Sie den Ordner für die kodierte Datei.</translation>
    </message>
    <message>
        <location filename="../src/encoderoom.cpp" line="54"/>
        <source>Please enter a name for the encoded file.</source>
        <translation>Bitte geben Sie einen Namen für die kodierte Datei ein.</translation>
    </message>
    <message>
        <location filename="../src/encoderoom.cpp" line="104"/>
        <source>Stopping…</source>
        <translation>Wird angehalten…</translation>
    </message>
    <message>
        <location filename="../src/jobstory.cpp" line="54"/>
        <location filename="../src/jobstory.cpp" line="78"/>
        <location filename="../src/progressview.cpp" line="116"/>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <location filename="../src/progressview.cpp" line="115"/>
        <source>Cancelled · a partial file remains</source>
        <translation>Abgebrochen · eine unvollständige Datei bleibt</translation>
    </message>
    <message>
        <location filename="../src/jobreport.cpp" line="18"/>
        <source>The encoder reported success, but wrote no file:
%1</source>
        <translation>Der Encoder meldete Erfolg, hat aber keine Datei geschrieben:
%1</translation>
    </message>
    <message>
        <location filename="../src/jobreport.cpp" line="22"/>
        <source>The encoder reported success, but the file it wrote is empty:
%1</source>
        <translation>Der Encoder meldete Erfolg, aber die geschriebene Datei ist leer:
%1</translation>
    </message>
    <message>
        <location filename="../src/lengthprobe.cpp" line="28"/>
        <source>The encoder gave %1 as the length of the input, which is not a valid time. The whole input will be encoded.</source>
        <translation>Der Encoder gab %1 als Länge der Eingabedatei an; das ist keine gültige Zeit. Die ganze Eingabedatei wird kodiert.</translation>
    </message>
    <message>
        <location filename="../src/lengthprobe.cpp" line="34"/>
        <source>The encoder could not tell the length of the input (it read 0:00:00). The whole input will be encoded.</source>
        <translation>Der Encoder konnte die Länge der Eingabedatei nicht bestimmen (er las 0:00:00). Die ganze Eingabedatei wird kodiert.</translation>
    </message>
    <message>
        <location filename="../src/commandline.cpp" line="111"/>
        <source>An error occurred. Please check this message and try to correct your configuration:</source>
        <translation>Ein Fehler ist aufgetreten. Bitte lesen Sie diese Meldung und korrigieren Sie Ihre Einstellungen:</translation>
    </message>
    <message>
        <location filename="../src/encoderoom.cpp" line="111"/>
        <location filename="../src/velkoran.cpp" line="310"/>
        <source>%1 encoded</source>
        <translation>%1 kodiert</translation>
    </message>
    <message>
        <location filename="../src/jobstory.cpp" line="64"/>
        <location filename="../src/progressview.cpp" line="86"/>
        <location filename="../src/progressview.cpp" line="87"/>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../src/progressview.cpp" line="80"/>
        <source>%1 % kept, Encode resumes it</source>
        <translation>%1 % erhalten, Kodieren setzt es fort</translation>
    </message>
    <message>
        <location filename="../src/jobstory.cpp" line="28"/>
        <source>Press Encode again to go on from there.</source>
        <translation>Drücken Sie erneut Kodieren, um von dort aus fortzufahren.</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="210"/>
        <source>An earlier encode of this file stopped at %1 %.</source>
        <translation>Eine frühere Kodierung dieser Datei wurde bei %1 % angehalten.</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="213"/>
        <source>An earlier encode of this file stopped before its end.</source>
        <translation>Eine frühere Kodierung dieser Datei wurde vor ihrem Ende angehalten.</translation>
    </message>
    <message>
        <location filename="../src/progressview.cpp" line="103"/>
        <source>Done · %1</source>
        <translation>Fertig · %1</translation>
    </message>
    <message>
        <location filename="../src/encodesettings.cpp" line="36"/>
        <source>Crop at the top</source>
        <translation>Oben abschneiden</translation>
    </message>
    <message>
        <location filename="../src/formnames.cpp" line="31"/>
        <source>ffmpeg&apos;s Theora encoder has no sharpness setting: this value has no effect</source>
        <translation>Der Theora-Encoder von ffmpeg hat keine Einstellung für die Schärfe: dieser Wert bewirkt nichts</translation>
    </message>
    <message>
        <location filename="../src/encodesettings.cpp" line="37"/>
        <source>Crop at the bottom</source>
        <translation>Unten abschneiden</translation>
    </message>
    <message>
        <location filename="../src/encodesettings.cpp" line="38"/>
        <source>Crop at the left</source>
        <translation>Links abschneiden</translation>
    </message>
    <message>
        <location filename="../src/encodesettings.cpp" line="39"/>
        <source>Crop at the right</source>
        <translation>Rechts abschneiden</translation>
    </message>
    <message>
        <location filename="../src/formnames.cpp" line="38"/>
        <source>Audio quality or bit rate</source>
        <translation>Audioqualität oder Bitrate</translation>
    </message>
    <message>
        <location filename="../src/formnames.cpp" line="39"/>
        <source>Video quality or bit rate</source>
        <translation>Videoqualität oder Bitrate</translation>
    </message>
    <message>
        <location filename="../src/formnames.cpp" line="50"/>
        <location filename="../src/formnames.cpp" line="51"/>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <location filename="../src/formnames.cpp" line="52"/>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <location filename="../src/formnames.cpp" line="60"/>
        <source>Audio quality</source>
        <translation>Audioqualität</translation>
    </message>
    <message>
        <location filename="../src/formnames.cpp" line="62"/>
        <source>Video quality</source>
        <translation>Videoqualität</translation>
    </message>
    <message>
        <location filename="../src/jobreport.cpp" line="82"/>
        <source>the input ended at %1 of %2</source>
        <translation>die Eingabe endete bei %1 von %2</translation>
    </message>
    <message>
        <location filename="../src/jobreport.cpp" line="88"/>
        <source>the input is damaged or ended early; the result lasts %1</source>
        <translation>die Eingabe ist beschädigt oder endet zu früh; das Ergebnis dauert %1</translation>
    </message>
    <message>
        <location filename="../src/jobreport.cpp" line="92"/>
        <source>nothing was encoded</source>
        <translation>nichts wurde kodiert</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="113"/>
        <source>The encoder &quot;%1&quot; was not found.</source>
        <translation>Der Encoder „%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="118"/>
        <source>It was looked for in:
%1</source>
        <translation>Gesucht wurde in:
%1</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="131"/>
        <source>it would replace its own input</source>
        <translation>sie würde ihre eigene Eingabe ersetzen</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="149"/>
        <source>an encode of this file is running elsewhere</source>
        <translation>eine Kodierung dieser Datei läuft bereits anderswo</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="152"/>
        <source>An encode of %1 is running elsewhere (in another window or program).

Please wait for its end, or choose another name.</source>
        <translation>Eine Kodierung von %1 läuft bereits anderswo (in einem anderen Fenster oder Programm).

Bitte warten Sie ihr Ende ab oder wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="221"/>
        <source>The settings changed since; the kept part cannot be used.</source>
        <translation>Die Einstellungen haben sich seitdem geändert; der aufbewahrte Teil kann nicht verwendet werden.</translation>
    </message>
    <message>
        <location filename="../src/inputchooser.cpp" line="30"/>
        <source>Only files on this computer can be encoded, not folders or web addresses. Left out:
%1</source>
        <translation>Nur Dateien auf diesem Rechner können kodiert werden, keine Ordner oder Webadressen. Ausgelassen:
%1</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="55"/>
        <source>Small file for the web</source>
        <translation>Kleine Datei fürs Web</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="56"/>
        <source>A small file that loads quickly on a web page.</source>
        <translation>Eine kleine Datei, die auf einer Webseite schnell lädt.</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="58"/>
        <source>High-quality archive copy</source>
        <translation>Archivkopie in hoher Qualität</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="59"/>
        <source>Keeps nearly every detail, for keeping; the file is large.</source>
        <translation>Behält fast jedes Detail, zum Aufbewahren; die Datei wird groß.</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="63"/>
        <source>Pictures only</source>
        <translation>Nur Bild</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="64"/>
        <source>No sound: for a silent clip or a screen recording.</source>
        <translation>Ohne Ton: für einen stummen Film oder eine Bildschirmaufnahme.</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="121"/>
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="122"/>
        <source>Save as…</source>
        <translation>Speichern als …</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="123"/>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="125"/>
        <source>Reset to defaults</source>
        <translation>Auf Standardwerte zurücksetzen</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="135"/>
        <source>Preset:</source>
        <translation>Vorgabe:</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="137"/>
        <source>Preset</source>
        <translation>Vorgabe</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="160"/>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation>Die Vorgabe „%1“ löschen?</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="226"/>
        <source>Save the settings as:</source>
        <translation>Einstellungen speichern als:</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="232"/>
        <source>The preset &quot;%1&quot; could not be saved in %2.</source>
        <translation>Die Vorgabe „%1“ konnte nicht in %2 gespeichert werden.</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="20"/>
        <source>&amp;Encode to Ogg Theora</source>
        <translation>In Ogg Theora &amp;kodieren</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="38"/>
        <source>&amp;Browse Files</source>
        <translation>&amp;Datei auswählen</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="51"/>
        <source>Browse &amp;Directories</source>
        <translation>&amp;Ordner auswählen</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="139"/>
        <source>&amp;Cancel Encoding</source>
        <translation>Kodierung &amp;abbrechen</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="364"/>
        <source>&amp;Get Duration</source>
        <translation>Dauer &amp;ermitteln</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="224"/>
        <source>&amp;Resume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
    <message>
        <location filename="../src/encodepreflight.cpp" line="225"/>
        <source>&amp;Start over</source>
        <translation>&amp;Neu beginnen</translation>
    </message>
    <message>
        <location filename="../src/formnames.cpp" line="60"/>
        <source>Audio bit rate in kilobits per second</source>
        <translation>Audio-Bitrate in Kilobit pro Sekunde</translation>
    </message>
    <message>
        <location filename="../src/formnames.cpp" line="62"/>
        <source>Video bit rate in kilobits per second</source>
        <translation>Video-Bitrate in Kilobit pro Sekunde</translation>
    </message>
    <message>
        <location filename="../src/encodesettings.cpp" line="35"/>
        <source>Niceness of the encoder</source>
        <translation>Prozesspriorität des Kodierers, als nice-Wert</translation>
    </message>
    <message>
        <location filename="../src/encodesettings.cpp" line="45"/>
        <source>Override the input&apos;s frames per second</source>
        <translation>Bildrate der Eingabe überschreiben, in Bildern pro Sekunde</translation>
    </message>
    <message>
        <location filename="../src/encodesettings.cpp" line="33"/>
        <source>Frame aspect ratio, for example 4:3 or 16:9</source>
        <translation>Seitenverhältnis des Bildes, zum Beispiel 4:3 oder 16:9</translation>
    </message>
    <message>
        <location filename="../src/encodesettings.cpp" line="34"/>
        <source>Output sample rate in hertz</source>
        <translation>Abtastrate der Ausgabe in Hertz</translation>
    </message>
    <message>
        <location filename="../src/formnames.cpp" line="65"/>
        <location filename="../src/formnames.cpp" line="68"/>
        <source>kbit/s</source>
        <translation>kbit/s</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="362"/>
        <source>Length %1</source>
        <translation>Länge %1</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="369"/>
        <source>Disable video from input:</source>
        <translation>Bild der Eingabe entfernen:</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="67"/>
        <source>Sound only (Ogg Vorbis)</source>
        <translation>Nur Ton (Ogg Vorbis)</translation>
    </message>
    <message>
        <location filename="../src/presets.cpp" line="68"/>
        <source>No pictures: for music, a talk or a podcast, as an Ogg Vorbis file.</source>
        <translation>Ohne Bild: für Musik, einen Vortrag oder einen Podcast, als Ogg-Vorbis-Datei.</translation>
    </message>
    <message>
        <location filename="../src/encodesettings.cpp" line="176"/>
        <source>Sound and video are both disabled, so nothing would be encoded. Set &quot;Disable sound from input&quot; or &quot;Disable video from input&quot; on the Output options page back to No.</source>
        <translation>Ton und Bild sind beide entfernt, es würde also nichts kodiert. Stellen Sie „Ton der Eingabe entfernen“ oder „Bild der Eingabe entfernen“ auf der Seite „Ausgabeoptionen“ wieder auf „Nein“.</translation>
    </message>
</context>
</TS>
