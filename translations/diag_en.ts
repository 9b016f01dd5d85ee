<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>NoGUIText</name>
    <message>
        <source>USAGE</source>
        <translation>Usage: nicdiag [options]

</translation>
    </message>
    <message>
        <source>%1 OPTIONS</source>
        <translation>%1Options:
</translation>
    </message>
    <message>
        <source>ADAPTER_OPTIONS_HELP</source>
        <translation>
Adapter options
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_1</source>
        <translation>  -b &lt;bus&gt;      PCI bus number of the adapter to select at start (needs -d)
  -d &lt;device&gt;   PCI device number of the adapter to select at start (needs -b)
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_2</source>
        <translation>  -l            list the installed adapters on the console and end
</translation>
    </message>
    <message>
        <source>TEST_OPTIONS_HELP</source>
        <translation>
File and language options
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_3</source>
        <translation>  -C &lt;file&gt;     configuration file (default ./config.xml)
  -I &lt;file&gt;     adapter information file (default ./adapterinfofile.xml)
  -T &lt;file&gt;     test information file (default ./testinfofile.xml)
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_4</source>
        <translation>  -a            show this text
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_5</source>
        <translation>  -n            show this text
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_6</source>
        <translation>  -x            show this text
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_7</source>
        <translation>  -c, -o &lt;arg&gt;  show this text
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_8</source>
        <translation>  -L &lt;code&gt;     language of the texts, for example en or de (default: from the locale)
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_9</source>
        <translation>  -m            set the mode flag that is handed to the core library
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_10</source>
        <translation>  -?            show this text and end

Environment:
  NICDIAG_ADVANCED=1   start in advanced mode (VPD editing, flash programming,
                       command console, script files, monitor and repeater)
  PROBEKIT_MACHINE     machine file of the simulated core library
</translation>
    </message>
    <message>
        <source>LIST_ALL_ADAPTERS</source>
        <translation>Installed Orlin adapters:</translation>
    </message>
    <message>
        <source>ADAPTER_LIST_FAILED</source>
        <translation>The list of adapters could not be read from the core library.</translation>
    </message>
    <message>
        <source>INIT_CORE_FAILED</source>
        <translation>The core library could not be initialised.
</translation>
    </message>
    <message>
        <source>DE_INIT_CORE_FAILED</source>
        <translation>The core library could not be de-initialised.
</translation>
    </message>
    <message>
        <source>PARSE_CONFIG_FAILED</source>
        <translation>The configuration file could not be read.
</translation>
    </message>
    <message>
        <source>PARSE_AIF_FAILED</source>
        <translation>The adapter information file could not be read.
</translation>
    </message>
    <message>
        <source>PARSE_TIF_FAILED</source>
        <translation>The test information file could not be read.
</translation>
    </message>
    <message>
        <source>CREATE_GUI_FAILED</source>
        <translation>The main window could not be created.
</translation>
    </message>
    <message>
        <source>START_WORKER_THREAD_FAILED</source>
        <translation>The worker thread could not be created.
</translation>
    </message>
    <message>
        <source>START_SCRIPT_THREAD_FAILED</source>
        <translation>The script thread could not be created.
</translation>
    </message>
</context>
</TS>
