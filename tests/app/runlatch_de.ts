<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A few of the main window's texts in German, for tst_Translations only. -->
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>TMainForm</name>
    <message>
        <source>Processing Activity</source>
        <translation>Verarbeitungsaktivität</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
</context>
</TS>
