<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CAdapterInfo</name>
    <message>
        <source>CONFIG_OPEN_FAILED %1 %2</source>
        <translation>The configuration file %1 cannot be opened: %2</translation>
    </message>
    <message>
        <source>AIF_OPEN_FAILED %1 %2</source>
        <translation>The adapter information file %1 cannot be opened: %2</translation>
    </message>
    <message>
        <source>TIF_OPEN_FAILED %1 %2</source>
        <translation>The test information file %1 cannot be opened: %2</translation>
    </message>
</context>
<context>
    <name>ConfigParser</name>
    <message>
        <source>CONFIG_WRONG_VERSION</source>
        <translation>The configuration file has a format version this program cannot read (version 1.0 is required).</translation>
    </message>
</context>
<context>
    <name>AdapterInfoParser</name>
    <message>
        <source>AIF_WRONG_VERSION</source>
        <translation>The adapter information file has a format version this program cannot read (version 1.0 is required).</translation>
    </message>
</context>
<context>
    <name>TestInfoParser</name>
    <message>
        <source>TIF_WRONG_VERSION</source>
        <translation>The test information file has a format version this program cannot read (version 1.0 is required).</translation>
    </message>
</context>
</TS>
