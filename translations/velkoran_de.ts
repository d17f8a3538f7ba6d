<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Velkoran</name>
    <message>
        <location filename="../src/velkoran.ui" line="6"/>
        <source>Velkoran Theora Encoder</source>
        <translation>Velkoran Theora-Encoder</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="17"/>
        <source>Encode</source>
        <translation>Kodieren</translation>
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
        <location filename="../src/velkoran.ui" line="47"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Path to encoded file:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Zielordner der kodierten Datei:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="51"/>
        <source>Browse &amp;Directories</source>
        <translation>&amp;Ordner auswählen</translation>
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
        <location filename="../src/velkoran.ui" line="139"/>
        <source>&amp;Cancel Encoding</source>
        <translation>Kodierung &amp;abbrechen</translation>
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
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="289"/>
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
        <location filename="../src/velkoran.ui" line="364"/>
        <source>&amp;Get Duration</source>
        <translation>Dauer &amp;ermitteln</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="370"/>
        <source>Input options</source>
        <translation>Eingabeoptionen</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="383"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Over input fps:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Eingabe-Bildrate überschreiben (fps):&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="388"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Specify input format:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Eingabeformat angeben:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="397"/>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Deinterlace:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;/head&gt;&lt;body style=&quot; white-space: pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; text-decoration:none;&quot;&gt;&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Deinterlacing:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="403"/>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <location filename="../src/velkoran.ui" line="406"/>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="111"/>
        <source>Select your file</source>
        <translation>Datei auswählen</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="132"/>
        <source>Select your directory</source>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="263"/>
        <source>The encoded file would replace the video being encoded:
%1

Please choose another file name or directory.</source>
        <translation>Die kodierte Datei würde das Video ersetzen, das kodiert wird:
%1

Bitte wählen Sie einen anderen Dateinamen oder Ordner.</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="269"/>
        <source>The file %1 already exists.

Do you want to replace it?</source>
        <translation>Die Datei %1 existiert bereits.

Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="374"/>
        <source>The encoder crashed.</source>
        <translation>Der Encoder ist abgestürzt.</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="375"/>
        <source>The encoder stopped with exit code %1.</source>
        <translation>Der Encoder wurde mit dem Exit-Code %1 beendet.</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="360"/>
        <source>The length of the input file could not be read.</source>
        <translation>Die Länge der Eingabedatei konnte nicht ermittelt werden.</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="402"/>
        <source>The encoder &quot;%1&quot; could not be started:
%2</source>
        <translation>Der Encoder &quot;%1&quot; konnte nicht gestartet werden:
%2</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="483"/>
        <source>No temporary directory could be made for reading the length of the input file:
%1</source>
        <translation>Für das Ermitteln der Länge der Eingabedatei konnte kein temporärer Ordner angelegt werden:
%1</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="507"/>
        <source>The input is %1:%2:%3 long. Only inputs shorter than a day can be trimmed; the whole input will be encoded.</source>
        <translation>Die Eingabe ist %1:%2:%3 lang. Nur Eingaben unter einem Tag können zugeschnitten werden; die ganze Eingabe wird kodiert.</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="539"/>
        <source>An encode is still running.

What is already encoded in finished chunks is kept, and Encode with the same settings resumes it.

Stop it and quit?</source>
        <translation>Eine Kodierung läuft noch.

Was in fertigen Abschnitten schon kodiert ist, bleibt erhalten; Kodieren mit denselben Einstellungen setzt es fort.

Kodierung abbrechen und beenden?</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="111"/>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <location filename="../src/timeleft.cpp" line="37"/>
        <source>about %1 left</source>
        <translation>noch etwa %1</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="302"/>
        <source>Please choose the directory for the encoded file.</source>
        <translation>Bitte wählen Sie den Ordner für die kodierte Datei.</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="306"/>
        <source>Please enter a name for the encoded file.</source>
        <translation>Bitte geben Sie einen Namen für die kodierte Datei ein.</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="353"/>
        <source>Stopping…</source>
        <translation>Wird angehalten…</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="402"/>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="418"/>
        <source>Cancelled · a partial file remains</source>
        <translation>Abgebrochen · eine unvollständige Datei bleibt</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="428"/>
        <source>The encoder reported success, but wrote no file:
%1</source>
        <translation>Der Encoder meldete Erfolg, hat aber keine Datei geschrieben:
%1</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="431"/>
        <source>The encoder reported success, but the file it wrote is empty:
%1</source>
        <translation>Der Encoder meldete Erfolg, aber die geschriebene Datei ist leer:
%1</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="531"/>
        <source>The encoder gave %1 as the length of the input, which is not a valid time. The whole input will be encoded.</source>
        <translation>Der Encoder gab %1 als Länge der Eingabedatei an; das ist keine gültige Zeit. Die ganze Eingabedatei wird kodiert.</translation>
    </message>
    <message>
        <location filename="../src/velkoran.cpp" line="535"/>
        <source>The encoder could not tell the length of the input (it read 0:00:00). The whole input will be encoded.</source>
        <translation>Der Encoder konnte die Länge der Eingabedatei nicht bestimmen (er las 0:00:00). Die ganze Eingabedatei wird kodiert.</translation>
    </message>
    <message>
        <location filename="../src/commandline.cpp" line="108"/>
        <source>An error occurred. Please check this message and try to correct your configuration:</source>
        <translation>Ein Fehler ist aufgetreten. Bitte lesen Sie diese Meldung und korrigieren Sie Ihre Einstellungen:</translation>
    </message>
    <message>
        <source>Only a file on this computer can be encoded, not a web address:
%1</source>
        <translation>Nur eine Datei auf diesem Rechner kann kodiert werden, keine Webadresse:
%1</translation>
    </message>
    <message>
        <source>A folder cannot be encoded. Please drop a video file:
%1</source>
        <translation>Ein Ordner kann nicht kodiert werden. Bitte legen Sie eine Videodatei ab:
%1</translation>
    </message>
    <message>
        <source>%1 encoded</source>
        <translation>%1 kodiert</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>%1 % kept, Encode resumes it</source>
        <translation>%1 % erhalten, Kodieren setzt es fort</translation>
    </message>
    <message>
        <source>An earlier encode of this file stopped at %1 %.</source>
        <translation>Eine frühere Kodierung dieser Datei wurde bei %1 % angehalten.</translation>
    </message>
    <message>
        <source>An earlier encode of this file stopped before its end.</source>
        <translation>Eine frühere Kodierung dieser Datei wurde vor ihrem Ende angehalten.</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Start over</source>
        <translation>&amp;Neu beginnen</translation>
    </message>
    <message>
        <source>Done · %1</source>
        <translation>Fertig · %1</translation>
    </message>
    <message>
        <source>Crop at the top</source>
        <translation>Oben abschneiden</translation>
    </message>
    <message>
        <source>Crop at the bottom</source>
        <translation>Unten abschneiden</translation>
    </message>
    <message>
        <source>Crop at the left</source>
        <translation>Links abschneiden</translation>
    </message>
    <message>
        <source>Crop at the right</source>
        <translation>Rechts abschneiden</translation>
    </message>
    <message>
        <source>Audio quality or bit rate</source>
        <translation>Audioqualität oder Bitrate</translation>
    </message>
    <message>
        <source>Video quality or bit rate</source>
        <translation>Videoqualität oder Bitrate</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Audio quality</source>
        <translation>Audioqualität</translation>
    </message>
    <message>
        <source>Audio bit rate in kilobits per second</source>
        <translation>Audio-Bitrate in Kilobit pro Sekunde</translation>
    </message>
    <message>
        <source>Video quality</source>
        <translation>Videoqualität</translation>
    </message>
    <message>
        <source>Video bit rate in kilobits per second</source>
        <translation>Video-Bitrate in Kilobit pro Sekunde</translation>
    </message>
    <message>
        <source>Niceness of the encoder</source>
        <translation>Prozesspriorität des Kodierers, als nice-Wert</translation>
    </message>
    <message>
        <source>Override the input&apos;s frames per second</source>
        <translation>Bildrate der Eingabe überschreiben, in Bildern pro Sekunde</translation>
    </message>
    <message>
        <source>Frame aspect ratio, for example 4:3 or 16:9</source>
        <translation>Seitenverhältnis des Bildes, zum Beispiel 4:3 oder 16:9</translation>
    </message>
    <message>
        <source>Output sample rate in hertz</source>
        <translation>Abtastrate der Ausgabe in Hertz</translation>
    </message>
    <message>
        <source>kbit/s</source>
        <translation>kbit/s</translation>
    </message>
    <message>
        <source>Length %1</source>
        <translation>Länge %1</translation>
    </message>
</context>
<context>
    <name>EncodeQueue</name>
    <message>
        <source>The encode of %1 would replace %2, which is in the queue too.</source>
        <translation>Die Kodierung von %1 würde %2 ersetzen, das ebenfalls in der Warteschlange steht.</translation>
    </message>
    <message>
        <source>%1 and %2 would both be encoded to %3.

Please encode one of them on its own, with a name of its own.</source>
        <translation>%1 und %2 würden beide nach %3 kodiert.

Bitte kodieren Sie eine der beiden Dateien einzeln, unter einem eigenen Namen.</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>+ %1 more</source>
        <translation>+ %1 weitere</translation>
    </message>
    <message>
        <source>The encode was cancelled.

Do you want to drop the rest of the queue as well? Files left: %1</source>
        <translation>Die Kodierung wurde abgebrochen.

Möchten Sie auch den Rest der Warteschlange verwerfen? Verbleibende Dateien: %1</translation>
    </message>
    <message>
        <source>%1 encoded · %2 skipped · %3 failed</source>
        <translation>%1 kodiert · %2 übersprungen · %3 fehlgeschlagen</translation>
    </message>
    <message>
        <source>The queue is done: %1.</source>
        <translation>Die Warteschlange ist abgearbeitet: %1.</translation>
    </message>
    <message>
        <source>Encoded:</source>
        <translation>Kodiert:</translation>
    </message>
    <message>
        <source>Skipped:</source>
        <translation>Übersprungen:</translation>
    </message>
    <message>
        <source>Failed:</source>
        <translation>Fehlgeschlagen:</translation>
    </message>
    <message>
        <source>the queue was stopped</source>
        <translation>die Warteschlange wurde angehalten</translation>
    </message>
    <message>
        <source>%1 was kept</source>
        <translation>%1 wurde behalten</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>The queue is done</source>
        <translation>Die Warteschlange ist abgearbeitet</translation>
    </message>
</context>
</TS>
