<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>NoGUIText</name>
    <message>
        <source>USAGE</source>
        <translation>Aufruf: nicdiag [Optionen]

</translation>
    </message>
    <message>
        <source>%1 OPTIONS</source>
        <translation>%1Optionen:
</translation>
    </message>
    <message>
        <source>ADAPTER_OPTIONS_HELP</source>
        <translation>
Adapter-Optionen
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_1</source>
        <translation>  -b &lt;Bus&gt;      PCI-Busnummer des Adapters, der beim Start gewählt wird (mit -d)
  -d &lt;Gerät&gt;    PCI-Gerätenummer des Adapters, der beim Start gewählt wird (mit -b)
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_2</source>
        <translation>  -l            installierte Adapter auf der Konsole auflisten und beenden
</translation>
    </message>
    <message>
        <source>TEST_OPTIONS_HELP</source>
        <translation>
Datei- und Sprachoptionen
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_3</source>
        <translation>  -C &lt;Datei&gt;    Konfigurationsdatei (Vorgabe ./config.xml)
  -I &lt;Datei&gt;    Adapter-Informationsdatei (Vorgabe ./adapterinfofile.xml)
  -T &lt;Datei&gt;    Test-Informationsdatei (Vorgabe ./testinfofile.xml)
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
        <translation>  -L &lt;Code&gt;     Sprache der Texte, zum Beispiel en oder de (Vorgabe: aus der Locale)
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_9</source>
        <translation>  -m            Modus-Flag setzen, das an die Kernbibliothek geht
</translation>
    </message>
    <message>
        <source>CMD_LINE_PARA_10</source>
        <translation>  -?            diesen Text zeigen und beenden

Umgebung:
  NICDIAG_ADVANCED=1   im erweiterten Modus starten
  PROBEKIT_MACHINE     Maschinendatei der simulierten Kernbibliothek
</translation>
    </message>
    <message>
        <source>LIST_ALL_ADAPTERS</source>
        <translation>Installierte Orlin-Adapter:</translation>
    </message>
    <message>
        <source>ADAPTER_LIST_FAILED</source>
        <translation>Die Adapterliste konnte nicht von der Kernbibliothek gelesen werden.</translation>
    </message>
    <message>
        <source>INIT_CORE_FAILED</source>
        <translation>Die Kernbibliothek konnte nicht initialisiert werden.
</translation>
    </message>
    <message>
        <source>DE_INIT_CORE_FAILED</source>
        <translation>Die Kernbibliothek konnte nicht deinitialisiert werden.
</translation>
    </message>
    <message>
        <source>PARSE_CONFIG_FAILED</source>
        <translation>Die Konfigurationsdatei konnte nicht gelesen werden.
</translation>
    </message>
    <message>
        <source>PARSE_AIF_FAILED</source>
        <translation>Die Adapter-Informationsdatei konnte nicht gelesen werden.
</translation>
    </message>
    <message>
        <source>PARSE_TIF_FAILED</source>
        <translation>Die Test-Informationsdatei konnte nicht gelesen werden.
</translation>
    </message>
    <message>
        <source>CREATE_GUI_FAILED</source>
        <translation>Das Hauptfenster konnte nicht erzeugt werden.
</translation>
    </message>
    <message>
        <source>START_WORKER_THREAD_FAILED</source>
        <translation>Der Arbeits-Thread konnte nicht erzeugt werden.
</translation>
    </message>
    <message>
        <source>START_SCRIPT_THREAD_FAILED</source>
        <translation>Der Skript-Thread konnte nicht erzeugt werden.
</translation>
    </message>
</context>
</TS>
