<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>TvDiagMainWindow</name>
    <message>
        <source>SAVE_LOG_FILE %1</source>
        <translation>Protokoll gespeichert am %1</translation>
    </message>
    <message>
        <source>PING_ERROR_CHECK_TCPIP</source>
        <translation>Die Gegenstelle antwortet nicht. Bitte prüfen Sie die TCP/IP-Einstellungen und das Netzwerkkabel.</translation>
    </message>
</context>
</TS>
