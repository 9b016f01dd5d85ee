<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CAdapterInfo</name>
    <message>
        <source>CONFIG_OPEN_FAILED %1 %2</source>
        <translation>Die Konfigurationsdatei %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>AIF_OPEN_FAILED %1 %2</source>
        <translation>Die Adapterinformationsdatei %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>TIF_OPEN_FAILED %1 %2</source>
        <translation>Die Testinformationsdatei %1 kann nicht geöffnet werden: %2</translation>
    </message>
</context>
<context>
    <name>ConfigParser</name>
    <message>
        <source>CONFIG_WRONG_VERSION</source>
        <translation>Die Konfigurationsdatei hat eine Formatversion, die dieses Programm nicht lesen kann (Version 1.0 wird benötigt).</translation>
    </message>
</context>
<context>
    <name>AdapterInfoParser</name>
    <message>
        <source>AIF_WRONG_VERSION</source>
        <translation>Die Adapterinformationsdatei hat eine Formatversion, die dieses Programm nicht lesen kann (Version 1.0 wird benötigt).</translation>
    </message>
</context>
<context>
    <name>TestInfoParser</name>
    <message>
        <source>TIF_WRONG_VERSION</source>
        <translation>Die Testinformationsdatei hat eine Formatversion, die dieses Programm nicht lesen kann (Version 1.0 wird benötigt).</translation>
    </message>
</context>
</TS>
