<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Velkoran</name>
    <message>
        <source>Velkoran Theora Encoder</source>
        <translation>Katalog program</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>&amp;Yes</source>
        <translation>Katalog-Ja</translation>
    </message>
</context>
</TS>
