<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>TvDiagMainWindow</name>
    <message>
        <source>SAVE_LOG_FILE %1</source>
        <translation>Log saved on %1</translation>
    </message>
    <message>
        <source>PING_ERROR_CHECK_TCPIP</source>
        <translation>The remote host did not answer. Please check the TCP/IP settings and the network cable.</translation>
    </message>
</context>
</TS>
