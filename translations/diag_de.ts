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
            <source>CMD_LINE_PARA_CAPTURE</source>
            <translation>  --capture &lt;Verzeichnis&gt;  das, was der Kern von jedem Adapter liest, in das Verzeichnis
                schreiben (mit PROBEKIT_BACKEND=linux; PROBEKIT_REPLAY spielt es ab) und beenden
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
            <translation>  -C &lt;Datei&gt;    Konfigurationsdatei (Vorgabe: config.xml im Datenverzeichnis)
  -I &lt;Datei&gt;    Adapter-Informationsdatei (Vorgabe: adapterinfofile.xml dort)
  -T &lt;Datei&gt;    Test-Informationsdatei (Vorgabe: testinfofile.xml dort)
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
        <message>
            <source>LANGUAGE_NOT_AVAILABLE %1</source>
            <translation>Für die Sprache %1 gibt es keine Texte; die Texte erscheinen auf Englisch.
</translation>
        </message>
        <message>
            <source>DISPLAY_UNREACHABLE</source>
            <translation>Der Bildschirm für das Fenster ist nicht erreichbar (DISPLAY oder WAYLAND_DISPLAY prüfen); auf einem virtuellen starten mit: xvfb-run nicdiag
</translation>
        </message>
        <message>
            <source>NO_DISPLAY</source>
            <translation>Für das Fenster gibt es keinen Bildschirm (DISPLAY und WAYLAND_DISPLAY sind nicht gesetzt); auf einem virtuellen starten mit: xvfb-run nicdiag
</translation>
        </message>
        <message>
            <source>LIST_WRITE_FAILED %1</source>
            <translation>Die Adapterliste konnte nicht vollständig geschrieben werden: %1</translation>
        </message>
        <message>
            <source>LIST_EMPTY_HINT %1 %2 %3</source>
            <translation>Es wurde kein Adapter der Hersteller-IDs %1 (aus %2) gefunden. Die simulierte Maschine (das Standard-Backend) enthält Orlin-Adapter, die die mitgelieferten Beschreibungsdateien nennen. Die eigenen Adapter dieses Rechners brauchen PROBEKIT_BACKEND=linux und die Beschreibungsdateien für sie: -C %3config.xml -I %3adapterinfofile.xml -T %3testinfofile.xml. Adapter eines anderen Herstellers brauchen Beschreibungsdateien, die seine Hersteller-ID nennen.</translation>
        </message>
        <message>
            <source>USAGE_HINT</source>
            <translation>Die Optionen nennt nicdiag -?.
</translation>
        </message>
        <message>
            <source>BATCH_OPTIONS_HELP</source>
            <translation>
Optionen des Laufs ohne Fenster (keine Anzeige nötig)
</translation>
        </message>
        <message>
            <source>CMD_LINE_PARA_BATCH</source>
            <translation>  --run &lt;Nr.|Name|all&gt;  einen Testfall (Nummer oder Name) oder alle Tests ohne Fenster ausführen
  --adapter &lt;Bus:Gerät&gt; der zu testende Adapter (wie -l ihn nennt); mehrfach möglich
  --all-adapters        jeden vorhandenen Adapter testen, jeden in einem eigenen Prozess, alle zugleich
  --loops &lt;n&gt;           die Tests n-mal ausführen (1 bis 10000; Vorgabe 1)
  --answer no|yes|ask   wie Fragen der Tests beantwortet werden: no (Vorgabe; eine mit Nein
                        beantwortete Frage lässt ihren Untertest fehlschlagen), yes, oder ask am Terminal
  --records &lt;Verz.&gt;     Verzeichnis der Laufprotokolle und Logs (Vorgabe: runs unter dem Log-Verzeichnis)
  --prometheus &lt;Datei&gt;  die Ergebnisse als Prometheus-Metriken schreiben (atomar ersetzt)
  --quiet               nur Fehler ausgeben
  Exit-Status: 0 alles bestanden, 1 etwas fehlgeschlagen oder abgebrochen, 2 Aufruffehler,
  3 nichts konnte laufen (kein Adapter frei oder unterstützt, Metrikdatei nicht schreibbar).
  Strg+C oder SIGTERM bricht ab: laufende Untertests enden als abgebrochen, Protokolle und Metriken werden geschrieben.
</translation>
        </message>
    </context>
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
        <message>
            <source>NOT_A_REGULAR_FILE</source>
            <translation>es ist keine reguläre Datei</translation>
        </message>
        <message>
            <source>FILE_TOO_LARGE %1</source>
            <translation>sie ist größer als %1 MB, was keine Beschreibungsdatei annähernd erreicht</translation>
        </message>
        <message>
            <source>NESTED_TOO_DEEP %1 %2 %3</source>
            <translation>Die Datei %1 wird nicht gelesen: In Zeile %2 sind ihre Elemente mehr als %3 Ebenen tief verschachtelt.</translation>
        </message>
        <message>
            <source>READING_STOPPED %1 %2 %3</source>
            <translation>%1, Zeile %2: Das Lesen endet hier: %3</translation>
        </message>
        <message>
            <source>CONTROL_CHARACTER</source>
            <translation>ein Text enthält ein Steuerzeichen</translation>
        </message>
        <message>
            <source>ENTITY_DECLARATIONS</source>
            <translation>das Dokument deklariert Entitäten, die Beschreibungsdateien nicht verwenden</translation>
        </message>
        <message>
            <source>MORE_WARNINGS %1</source>
            <translation>Weitere Warnungen werden ausgelassen; die ersten %1 stehen oben.</translation>
        </message>
    </context>
    <context>
        <name>ConfigParser</name>
        <message>
            <source>CONFIG_WRONG_VERSION</source>
            <translation>Die Konfigurationsdatei hat eine Formatversion, die dieses Programm nicht lesen kann (Version 1.0 wird benötigt).</translation>
        </message>
        <message>
            <source>VENDOR_ENTRY_READS_AS_ZERO %1 %2 %3</source>
            <translation>%1, Zeile %2: Die Hersteller-ID „%3“ dieses vendor_entry ist keine ohne 0x geschriebene Hexadezimalzahl und wird als 0 gelesen: Der Eintrag passt zu keinem Adapter und beendet ohne Geräteliste die Liste der unterstützten Adapter.</translation>
        </message>
        <message>
            <source>RUN_RECORDS_READS_AS_ZERO %1 %2 %3</source>
            <translation>%1, Zeile %2: run_records „%3“ ist keine Dezimalzahl und wird als 0 gelesen: Laufprotokolle sind aus. 1 lässt sie eingeschaltet, 0 schaltet sie aus.</translation>
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
        <message>
            <source>SUBTEST_ID_OUT_OF_RANGE %1 %2 %3 %4</source>
            <translation>%1, Zeile %2: Die Untertest-ID %3 + %4 passt nicht in 32 Bit; der Untertest wird ausgelassen.</translation>
        </message>
    </context>
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
        <message>
            <source>ADAPTERS</source>
            <translation>Adapter</translation>
        </message>
        <message>
            <source>ADVANCED</source>
            <translation>Erweitert</translation>
        </message>
        <message>
            <source>TESTS</source>
            <translation>Tests</translation>
        </message>
        <message>
            <source>REPEATER_MONITOR</source>
            <translation>Monitor/Repeater</translation>
        </message>
        <message>
            <source>CONFIGURATION</source>
            <translation>Konfiguration</translation>
        </message>
        <message>
            <source>SENSORS</source>
            <translation>Sensoren</translation>
        </message>
        <message>
            <source>LOGFILE</source>
            <translation>Protokoll</translation>
        </message>
        <message>
            <source>GENERAL</source>
            <translation>Allgemein</translation>
        </message>
        <message>
            <source>INSTALLED_ADAPTERS %1</source>
            <translation>Installierte %1-Adapter</translation>
        </message>
        <message>
            <source>START_LOCATE_NIC</source>
            <translation>Adapter finden</translation>
        </message>
        <message>
            <source>PERFORM_ALL_TESTS</source>
            <translation>Alle Tests ausführen</translation>
        </message>
        <message>
            <source>START_ALL_TESTS_FOR_SEL_ADAPTER</source>
            <translation>Alle Tests für den gewählten Adapter ausführen</translation>
        </message>
        <message>
            <source>CONNECTIVITY_TEST</source>
            <translation>Verbindungstest</translation>
        </message>
        <message>
            <source>START_CONNECTIVITY_TEST_FOR_SEL_ADAPTER</source>
            <translation>Verbindungstest für den gewählten Adapter starten</translation>
        </message>
        <message>
            <source>LOOP_INFINITE</source>
            <translation>Wiederholen</translation>
        </message>
        <message>
            <source>LOOP_INFINITE_TOOLTIP</source>
            <translation>Den Testfall bis zum Abbruch wiederholen</translation>
        </message>
        <message>
            <source>LOOP_COUNT</source>
            <translation>Durchläufe:</translation>
        </message>
        <message>
            <source>START_TESTS</source>
            <translation>&amp;Starten</translation>
        </message>
        <message>
            <source>CANCEL_TESTS</source>
            <translation>A&amp;bbrechen</translation>
        </message>
        <message>
            <source>MODE</source>
            <translation>Modus</translation>
        </message>
        <message>
            <source>REPEATER</source>
            <translation>Repeater</translation>
        </message>
        <message>
            <source>MONITOR</source>
            <translation>Monitor</translation>
        </message>
        <message>
            <source>PORT</source>
            <translation>Port</translation>
        </message>
        <message>
            <source>PORT_A</source>
            <translation>Port A</translation>
        </message>
        <message>
            <source>PORT_B</source>
            <translation>Port B</translation>
        </message>
        <message>
            <source>TEST_CASE_START</source>
            <translation>Starten</translation>
        </message>
        <message>
            <source>CANCEL_TEXT</source>
            <translation>Abbrechen</translation>
        </message>
        <message>
            <source>OK_TEXT</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>PCI_IDS</source>
            <translation>PCI-Kennungen</translation>
        </message>
        <message>
            <source>VENDOR_ID</source>
            <translation>Hersteller-ID:</translation>
        </message>
        <message>
            <source>DEVICE_ID</source>
            <translation>Geräte-ID:</translation>
        </message>
        <message>
            <source>SUBVENDOR_ID</source>
            <translation>Subsystem-Hersteller-ID:</translation>
        </message>
        <message>
            <source>SUBSYSTEM_ID</source>
            <translation>Subsystem-ID:</translation>
        </message>
        <message>
            <source>PCI_DATA</source>
            <translation>PCI-Daten</translation>
        </message>
        <message>
            <source>MEMBASE</source>
            <translation>Speicheradresse:</translation>
        </message>
        <message>
            <source>IRQ</source>
            <translation>IRQ:</translation>
        </message>
        <message>
            <source>BUS_CLOCK</source>
            <translation>Bustakt:</translation>
        </message>
        <message>
            <source>IOBASE</source>
            <translation>E/A-Adresse:</translation>
        </message>
        <message>
            <source>SLOT</source>
            <translation>Steckplatz:</translation>
        </message>
        <message>
            <source>SLOTSIZE</source>
            <translation>Steckplatzbreite:</translation>
        </message>
        <message>
            <source>LATENCY</source>
            <translation>Latenz:</translation>
        </message>
        <message>
            <source>CACHE_LINE_SIZE</source>
            <translation>Cache-Zeilengröße:</translation>
        </message>
        <message>
            <source>MISCELLANEOUS</source>
            <translation>Sonstiges</translation>
        </message>
        <message>
            <source>SAVE_PCI_CONFIG_TO_FILE</source>
            <translation>In Datei speichern...</translation>
        </message>
        <message>
            <source>SAVE_PCI_CONFIG_TO_FILE_TOOLTIP</source>
            <translation>Die PCI-Konfiguration des gewählten Adapters in eine Datei speichern</translation>
        </message>
        <message>
            <source>SAVE_LOGFILE</source>
            <translation>Protokoll speichern...</translation>
        </message>
        <message>
            <source>DIAG_PROGRAM_INFO</source>
            <translation>Diagnoseprogramm</translation>
        </message>
        <message>
            <source>VERSION_LABEL</source>
            <translation>Version:</translation>
        </message>
        <message>
            <source>RELEASE_DATE</source>
            <translation>Datum:</translation>
        </message>
        <message>
            <source>DRIVER_INFO</source>
            <translation>Netzwerktreiber</translation>
        </message>
        <message>
            <source>NAME_LABEL</source>
            <translation>Name:</translation>
        </message>
        <message>
            <source>DESCRIPTION</source>
            <translation>Beschreibung:</translation>
        </message>
        <message>
            <source>COPYRIGHT</source>
            <translation>Copyright:</translation>
        </message>
        <message>
            <source>NOT_AVAILABLE</source>
            <translation>n. v.</translation>
        </message>
        <message>
            <source>NETWORK_STATUS</source>
            <translation>Netzwerkstatus</translation>
        </message>
        <message>
            <source>IP_ADDRESS</source>
            <translation>IP-Adresse:</translation>
        </message>
        <message>
            <source>SUBNET_MASK</source>
            <translation>Subnetzmaske:</translation>
        </message>
        <message>
            <source>LINK_LABEL</source>
            <translation>Verbindung:</translation>
        </message>
        <message>
            <source>LINK_SPEED</source>
            <translation>Geschwindigkeit:</translation>
        </message>
        <message>
            <source>ACTIVITY_LABEL</source>
            <translation>Aktivität:</translation>
        </message>
        <message>
            <source>DUPLEX</source>
            <translation>Duplex:</translation>
        </message>
        <message>
            <source>FILE_MENU</source>
            <translation>&amp;Datei</translation>
        </message>
        <message>
            <source>TEST_MENU</source>
            <translation>&amp;Tests</translation>
        </message>
        <message>
            <source>FPROM_MENU</source>
            <translation>F&amp;lash-PROM</translation>
        </message>
        <message>
            <source>VPD_MENU</source>
            <translation>&amp;VPD</translation>
        </message>
        <message>
            <source>HELP_MENU</source>
            <translation>&amp;Hilfe</translation>
        </message>
        <message>
            <source>NEW_LOGFILE_TXT</source>
            <translation>Neues Protokoll</translation>
        </message>
        <message>
            <source>NEW_LOGFILE_MENU</source>
            <translation>&amp;Neues Protokoll</translation>
        </message>
        <message>
            <source>NEW_LOGFILE_ACCEL</source>
            <translation>Ctrl+N</translation>
        </message>
        <message>
            <source>OPEN_SCRIPT_TXT</source>
            <translation>Skriptdatei öffnen</translation>
        </message>
        <message>
            <source>OPEN_SCRIPT_MENU</source>
            <translation>Skript ö&amp;ffnen...</translation>
        </message>
        <message>
            <source>OPEN_SCRIPT_ACCEL</source>
            <translation>Ctrl+O</translation>
        </message>
        <message>
            <source>SAVE_LOGFILE_TXT</source>
            <translation>Protokoll speichern</translation>
        </message>
        <message>
            <source>SAVE_LOGFILE_MENU</source>
            <translation>Protokoll &amp;speichern</translation>
        </message>
        <message>
            <source>SAVE_LOGFILE_ACCEL</source>
            <translation>Ctrl+S</translation>
        </message>
        <message>
            <source>SAVE_AS_TXT</source>
            <translation>Protokoll speichern unter</translation>
        </message>
        <message>
            <source>SAVE_AS_MENU</source>
            <translation>Protokoll speichern &amp;unter...</translation>
        </message>
        <message>
            <source>SAVE_AS_ACCEL</source>
            <translation>Ctrl+Shift+S</translation>
        </message>
        <message>
            <source>EXIT_TXT</source>
            <translation>Beenden</translation>
        </message>
        <message>
            <source>EXIT_MENU</source>
            <translation>&amp;Beenden</translation>
        </message>
        <message>
            <source>EXIT_ACCEL</source>
            <translation>Ctrl+Q</translation>
        </message>
        <message>
            <source>ABOUT_TXT</source>
            <translation>Info</translation>
        </message>
        <message>
            <source>ABOUT_MENU</source>
            <translation>&amp;Info...</translation>
        </message>
        <message>
            <source>ABOUT_ACCEL</source>
            <translation>Shift+F1</translation>
        </message>
        <message>
            <source>SAVE_FPROM_TXT</source>
            <translation>Flash-PROM sichern</translation>
        </message>
        <message>
            <source>SAVE_FPROM_MENU</source>
            <translation>In Datei &amp;sichern...</translation>
        </message>
        <message>
            <source>SAVE_FPROM_ACCEL</source>
            <translation>Ctrl+F</translation>
        </message>
        <message>
            <source>LOAD_FPROM_TXT</source>
            <translation>Flash-PROM laden</translation>
        </message>
        <message>
            <source>LOAD_FPROM_MENU</source>
            <translation>Aus Datei &amp;laden...</translation>
        </message>
        <message>
            <source>LOAD_FPROM_ACCEL</source>
            <translation>Ctrl+L</translation>
        </message>
        <message>
            <source>CLEAR_FPROM_TXT</source>
            <translation>Flash-PROM löschen</translation>
        </message>
        <message>
            <source>CLEAR_FPROM_MENU</source>
            <translation>&amp;Löschen</translation>
        </message>
        <message>
            <source>CLEAR_FPROM_ACCEL</source>
            <translation>Ctrl+E</translation>
        </message>
        <message>
            <source>VIEW_VPD_TXT</source>
            <translation>VPD anzeigen</translation>
        </message>
        <message>
            <source>VIEW_VPD_MENU</source>
            <translation>Produktdaten &amp;anzeigen...</translation>
        </message>
        <message>
            <source>VIEW_VPD_ACCEL</source>
            <translation>Ctrl+D</translation>
        </message>
        <message>
            <source>EDIT_VPD_TXT</source>
            <translation>VPD bearbeiten</translation>
        </message>
        <message>
            <source>EDIT_VPD_MENU</source>
            <translation>Produktdaten &amp;bearbeiten...</translation>
        </message>
        <message>
            <source>EDIT_VPD_ACCEL</source>
            <translation>Ctrl+W</translation>
        </message>
        <message>
            <source>DELETE_VPD_TXT</source>
            <translation>VPD-Schlüsselwörter löschen</translation>
        </message>
        <message>
            <source>DELETE_VPD_MENU</source>
            <translation>Schlüsselwörter &amp;löschen...</translation>
        </message>
        <message>
            <source>DELETE_VPD_ACCEL</source>
            <translation>Ctrl+K</translation>
        </message>
        <message>
            <source>HELP_TXT</source>
            <translation>&amp;Hilfe</translation>
        </message>
        <message>
            <source>HELP_ACCEL</source>
            <translation>F1</translation>
        </message>
        <message>
            <source>VIEW_LOGFILE_TXT</source>
            <translation>Protokolldatei anzeigen</translation>
        </message>
        <message>
            <source>VIEW_LOGFILE_MENU</source>
            <translation>Protokolldatei an&amp;zeigen...</translation>
        </message>
        <message>
            <source>VIEW_LOGFILE_ACCEL</source>
            <translation>Ctrl+G</translation>
        </message>
        <message>
            <source>ALL_TESTS_TXT</source>
            <translation>&amp;Alle Tests</translation>
        </message>
        <message>
            <source>ALL_TESTS_TOOLTIP</source>
            <translation>Alle Tests des gewählten Adapters ausführen</translation>
        </message>
        <message>
            <source>ALL_TESTS_STATUSTIP</source>
            <translation>Führt alle Testfälle des gewählten Adapters nacheinander aus</translation>
        </message>
        <message>
            <source>REPEATER_MODE</source>
            <translation>&amp;Repeater-Modus</translation>
        </message>
        <message>
            <source>REPEATER_MODE_TOOLTIP</source>
            <translation>Repeater-Modus auf Port A starten</translation>
        </message>
        <message>
            <source>REPEATER_MODE_STATUSTIP</source>
            <translation>Schaltet Port A des gewählten Adapters in den Repeater-Modus</translation>
        </message>
        <message>
            <source>CTRL_M</source>
            <translation>Ctrl+M</translation>
        </message>
        <message>
            <source>ALLOC_TESTPROGRESS_FAILED</source>
            <translation>Die Testfortschrittszeilen konnten nicht angelegt werden.</translation>
        </message>
        <message>
            <source>ALLOC_MENUACTION_FAILED</source>
            <translation>Ein Menüeintrag konnte nicht angelegt werden.</translation>
        </message>
        <message>
            <source>ALLOC_SENSOR_TIMER_FAILED</source>
            <translation>Der Sensor-Zeitgeber konnte nicht angelegt werden; die Sensoren werden nicht abgefragt.</translation>
        </message>
        <message>
            <source>ALLOC_ADAPTER_TIMER_FAILED</source>
            <translation>Der Adapter-Zeitgeber konnte nicht angelegt werden; die Adapterliste wird nicht aktualisiert.</translation>
        </message>
        <message>
            <source>ALLOC_GENERAL_TIMER_FAILED</source>
            <translation>Der Status-Zeitgeber konnte nicht angelegt werden; der Netzwerkstatus wird nicht aktualisiert.</translation>
        </message>
        <message>
            <source>ALLOC_LOCATE_TIMER_FAILED</source>
            <translation>Der Zeitgeber zum Finden konnte nicht angelegt werden; die Adapter-LED kann nicht blinken.</translation>
        </message>
        <message>
            <source>ADAPTER_LIST_FAILED</source>
            <translation>Die Liste der installierten Adapter konnte nicht gelesen werden.</translation>
        </message>
        <message>
            <source>ADAPTER_NOT_FOUND</source>
            <translation>In diesem Rechner wurde kein unterstützter Adapter gefunden.</translation>
        </message>
        <message>
            <source>ALL_ADAPTER_DIAGNOSED</source>
            <translation>Alle unterstützten Adapter werden bereits von einer anderen Instanz des Programms diagnostiziert.</translation>
        </message>
        <message>
            <source>TEST_STILL_RUNNING</source>
            <translation>Ein Test läuft noch. Test abbrechen und das Programm schließen?</translation>
        </message>
        <message>
            <source>CREATE_HELP_FAILED</source>
            <translation>Die Hilfe konnte nicht geöffnet werden.</translation>
        </message>
        <message>
            <source>ADAPTER_UNKNOWN</source>
            <translation>[unbekannter Adapter] </translation>
        </message>
        <message>
            <source>ALREADY_DIAGNOSED</source>
            <translation>[anderweitig in Benutzung] </translation>
        </message>
        <message>
            <source>IN_SLOT %1 %2</source>
            <translation>%1 in Steckplatz %2</translation>
        </message>
        <message>
            <source>DEVICE_ON_BUS %1 %2 %3</source>
            <translation>%1, Gerät %2 an Bus %3</translation>
        </message>
        <message>
            <source>ADAPTER_ALREADY_DIAGNOSED</source>
            <translation>Dieser Adapter wird bereits von einer anderen Instanz des Programms diagnostiziert.</translation>
        </message>
        <message>
            <source>TESTCASE_LIST_FAILED</source>
            <translation>Für diesen Adapter sind keine Testfälle beschrieben.</translation>
        </message>
        <message>
            <source>TESTITEM_NOT_FOUND</source>
            <translation>Ein Testfall dieses Adapters fehlt in der Testinformationsdatei.</translation>
        </message>
        <message>
            <source>TOO_MANY_SUBTEST_CASES</source>
            <translation>Dieser Testfall hat mehr als sieben Untertests und kann nicht angezeigt werden.</translation>
        </message>
        <message>
            <source>EVERYTHING_OK</source>
            <translation>Alles in Ordnung.</translation>
        </message>
        <message>
            <source>CALLER_NOT_ROOT</source>
            <translation>Das Programm benötigt Administratorrechte.</translation>
        </message>
        <message>
            <source>OUT_OF_MEMORY</source>
            <translation>Nicht genügend Speicher.</translation>
        </message>
        <message>
            <source>OPEN_DEVICE_FAILED</source>
            <translation>Das Gerät konnte nicht geöffnet werden.</translation>
        </message>
        <message>
            <source>IOCTL_FAILED</source>
            <translation>Eine Gerätesteuerungsanfrage ist fehlgeschlagen.</translation>
        </message>
        <message>
            <source>MMAP_FAILED</source>
            <translation>Der Adapterspeicher konnte nicht eingeblendet werden.</translation>
        </message>
        <message>
            <source>MUNMAP_FAILED</source>
            <translation>Der Adapterspeicher konnte nicht ausgeblendet werden.</translation>
        </message>
        <message>
            <source>NULL_POINTER</source>
            <translation>Interner Fehler: Nullzeiger.</translation>
        </message>
        <message>
            <source>INTERNAL_ERROR</source>
            <translation>Interner Fehler.</translation>
        </message>
        <message>
            <source>TVDGLIB_ERROR</source>
            <translation>Fehler in der Diagnosebibliothek.</translation>
        </message>
        <message>
            <source>NO_PCI_DEVICES_FOUND</source>
            <translation>Es wurden keine PCI-Geräte gefunden.</translation>
        </message>
        <message>
            <source>NO_SUCH_DEVICE</source>
            <translation>Der Adapter existiert nicht.</translation>
        </message>
        <message>
            <source>ADAPTER_INIT_FAILED</source>
            <translation>Der Adapter konnte nicht initialisiert werden.</translation>
        </message>
        <message>
            <source>ADAPTER_DEINIT_FAILED</source>
            <translation>Der Adapter konnte nicht abgemeldet werden.</translation>
        </message>
        <message>
            <source>ADAPTER_ALREADY_SELECTED</source>
            <translation>Der Adapter ist bereits ausgewählt.</translation>
        </message>
        <message>
            <source>INVALID_KEYWORD</source>
            <translation>Ungültiges VPD-Schlüsselwort.</translation>
        </message>
        <message>
            <source>VPD_TIMEOUT</source>
            <translation>Zeitüberschreitung beim Zugriff auf die Produktdaten.</translation>
        </message>
        <message>
            <source>VPD_FATAL_ERROR</source>
            <translation>Schwerer Fehler in den Produktdaten.</translation>
        </message>
        <message>
            <source>VPD_BUFFER_OVERFLOW</source>
            <translation>Die Produktdaten passen nicht in den Puffer.</translation>
        </message>
        <message>
            <source>KEYWORD_NOT_FOUND</source>
            <translation>VPD-Schlüsselwort nicht gefunden.</translation>
        </message>
        <message>
            <source>VPD_FULL</source>
            <translation>Der Produktdatenbereich ist voll.</translation>
        </message>
        <message>
            <source>WRITE_KEYWORD_FAILED</source>
            <translation>Das VPD-Schlüsselwort konnte nicht geschrieben werden.</translation>
        </message>
        <message>
            <source>FPROM_ACCESS_FAILED</source>
            <translation>Auf das Flash-PROM konnte nicht zugegriffen werden.</translation>
        </message>
        <message>
            <source>INIT_FPROM_FAILED</source>
            <translation>Das Flash-PROM konnte nicht initialisiert werden.</translation>
        </message>
        <message>
            <source>VERIFY_FPROM_FAILED</source>
            <translation>Die Prüfung des Flash-PROMs ist fehlgeschlagen.</translation>
        </message>
        <message>
            <source>PROG_ALL_ZEROS_FAILED</source>
            <translation>Das Beschreiben des Flash-PROMs mit Nullen ist fehlgeschlagen.</translation>
        </message>
        <message>
            <source>FLASH_ERASE_FAILED</source>
            <translation>Das Löschen des Flash-PROMs ist fehlgeschlagen.</translation>
        </message>
        <message>
            <source>PROG_FLASH_FAILED</source>
            <translation>Das Programmieren des Flash-PROMs ist fehlgeschlagen.</translation>
        </message>
        <message>
            <source>ADAPTER_LOCK_FAILED</source>
            <translation>Der Adapter konnte nicht reserviert werden.</translation>
        </message>
        <message>
            <source>ADAPTER_UNLOCK_FAILED</source>
            <translation>Der Adapter konnte nicht freigegeben werden.</translation>
        </message>
        <message>
            <source>ADAPTER_OPEN_FAILED</source>
            <translation>Der Adapter konnte nicht geöffnet werden.</translation>
        </message>
        <message>
            <source>GET_OID_FAILED</source>
            <translation>Ein Treiberwert konnte nicht gelesen werden.</translation>
        </message>
        <message>
            <source>SET_OID_FAILED</source>
            <translation>Ein Treiberwert konnte nicht geschrieben werden.</translation>
        </message>
        <message>
            <source>ADAPTER_IN_WRONG_DIAG_STATE</source>
            <translation>Der Adapter ist im falschen Diagnosezustand.</translation>
        </message>
        <message>
            <source>ADAPTER_ALREADY_SELECTED_BUT_NOT_DIAG</source>
            <translation>Der Adapter ist ausgewählt, aber nicht im Diagnosemodus.</translation>
        </message>
        <message>
            <source>ERROR_ERROR %1</source>
            <translation>Unbekannter Fehler %1.</translation>
        </message>
        <message>
            <source>CONFIRM_LOOP</source>
            <translation>Ist der Loopback-Stecker angeschlossen?</translation>
        </message>
        <message>
            <source>CONFIRM_LINK</source>
            <translation>Ist das Netzwerkkabel mit einer funktionierenden Gegenstelle verbunden?</translation>
        </message>
        <message>
            <source>IS_10_LED_ON</source>
            <translation>Leuchtet die 10-Mbit/s-LED?</translation>
        </message>
        <message>
            <source>IS_10_LED_OFF</source>
            <translation>Ist die 10-Mbit/s-LED aus?</translation>
        </message>
        <message>
            <source>IS_100_LED_ON</source>
            <translation>Leuchtet die 100-Mbit/s-LED?</translation>
        </message>
        <message>
            <source>IS_100_LED_OFF</source>
            <translation>Ist die 100-Mbit/s-LED aus?</translation>
        </message>
        <message>
            <source>IS_1000_LED_ON</source>
            <translation>Leuchtet die 1000-Mbit/s-LED?</translation>
        </message>
        <message>
            <source>IS_1000_LED_OFF</source>
            <translation>Ist die 1000-Mbit/s-LED aus?</translation>
        </message>
        <message>
            <source>IS_ACT_LED_ON</source>
            <translation>Leuchtet die Aktivitäts-LED?</translation>
        </message>
        <message>
            <source>IS_ACT_LED_OFF</source>
            <translation>Ist die Aktivitäts-LED aus?</translation>
        </message>
        <message>
            <source>IS_DUP_LED_ON</source>
            <translation>Leuchtet die Duplex-LED?</translation>
        </message>
        <message>
            <source>IS_DUP_LED_OFF</source>
            <translation>Ist die Duplex-LED aus?</translation>
        </message>
        <message>
            <source>IS_LINK_LED_ON</source>
            <translation>Leuchtet die Link-LED?</translation>
        </message>
        <message>
            <source>IS_LINK_LED_BLINK</source>
            <translation>Blinkt die Link-LED?</translation>
        </message>
        <message>
            <source>IS_LINK_LED_OFF</source>
            <translation>Ist die Link-LED aus?</translation>
        </message>
        <message>
            <source>IS_TX_LED_ON</source>
            <translation>Leuchtet die Sende-LED?</translation>
        </message>
        <message>
            <source>IS_TX_LED_OFF</source>
            <translation>Ist die Sende-LED aus?</translation>
        </message>
        <message>
            <source>IS_RX_LED_ON</source>
            <translation>Leuchtet die Empfangs-LED?</translation>
        </message>
        <message>
            <source>IS_RX_LED_OFF</source>
            <translation>Ist die Empfangs-LED aus?</translation>
        </message>
        <message>
            <source>IS_STAT_LED_ON</source>
            <translation>Leuchtet die Status-LED?</translation>
        </message>
        <message>
            <source>IS_STAT_LED_OFF</source>
            <translation>Ist die Status-LED aus?</translation>
        </message>
        <message>
            <source>LINK DOWN!</source>
            <translation>Keine Verbindung!</translation>
        </message>
        <message>
            <source>READY_FOR_MAGIC</source>
            <translation>Bereit zum Senden des Magic Packets?</translation>
        </message>
        <message>
            <source>MAGIC_IS_SENT</source>
            <translation>Das Magic Packet wurde gesendet.</translation>
        </message>
        <message>
            <source>CHECK_LINK</source>
            <translation>Bitte das Netzwerkkabel prüfen.</translation>
        </message>
        <message>
            <source>REMOVE_CABLE</source>
            <translation>Bitte das Netzwerkkabel abziehen.</translation>
        </message>
        <message>
            <source>REMOVE_AND_PLUG </source>
            <translation>Bitte das Netzwerkkabel abziehen und wieder einstecken.</translation>
        </message>
        <message>
            <source>PLUG_CABLE</source>
            <translation>Bitte das Netzwerkkabel einstecken.</translation>
        </message>
        <message>
            <source>LINK_MODE</source>
            <translation>Verbindungsmodus</translation>
        </message>
        <message>
            <source>LINK_STATE</source>
            <translation>Verbindungszustand</translation>
        </message>
        <message>
            <source>LINK_MASTER_SLAVE</source>
            <translation>Master/Slave</translation>
        </message>
        <message>
            <source>LINK_ESTIMATE</source>
            <translation>Verbindungsqualität</translation>
        </message>
        <message>
            <source>LINK_CHANGES</source>
            <translation>Verbindungswechsel</translation>
        </message>
        <message>
            <source>FALSE_CARRIER</source>
            <translation>Falscher Träger</translation>
        </message>
        <message>
            <source>FCS_ERRORS</source>
            <translation>FCS-Fehler</translation>
        </message>
        <message>
            <source>FRAMES_RECEIVED</source>
            <translation>Empfangene Rahmen</translation>
        </message>
        <message>
            <source>FRAMES_TRANSMITTED</source>
            <translation>Gesendete Rahmen</translation>
        </message>
        <message>
            <source>PAUSE_RECEIVED</source>
            <translation>Empfangene Pausenrahmen</translation>
        </message>
        <message>
            <source>PAUSE_TRANSMITTED</source>
            <translation>Gesendete Pausenrahmen</translation>
        </message>
        <message>
            <source>RECEIVE_OVERFLOWS</source>
            <translation>Empfangsüberläufe</translation>
        </message>
        <message>
            <source>NO_LINK</source>
            <translation>Keine Verbindung</translation>
        </message>
        <message>
            <source>NOT_ACTIVE</source>
            <translation>Nicht aktiv</translation>
        </message>
        <message>
            <source>NOT_SUPPORTED</source>
            <translation>Nicht unterstützt</translation>
        </message>
        <message>
            <source>ROLE_MASTER</source>
            <translation>Master</translation>
        </message>
        <message>
            <source>ROLE_SLAVE</source>
            <translation>Slave</translation>
        </message>
        <message>
            <source>LINK_UP</source>
            <translation>Verbunden</translation>
        </message>
        <message>
            <source>LINK_DOWN</source>
            <translation>Nicht verbunden</translation>
        </message>
        <message>
            <source>NUMBER_OF_BUFFERS</source>
            <translation>Anzahl Puffer</translation>
        </message>
        <message>
            <source>RX_PACKET_SIZE</source>
            <translation>Empfangspaketgröße</translation>
        </message>
        <message>
            <source>RX_SHORT_EVENT</source>
            <translation>Kurze Empfangsereignisse</translation>
        </message>
        <message>
            <source>DELTA_COUNTER</source>
            <translation>Differenzzähler</translation>
        </message>
        <message>
            <source>COMM_FAILURE</source>
            <translation>Kommunikationsfehler</translation>
        </message>
        <message>
            <source>CONFIRM_OFFLINE_TEST</source>
            <translation>Der Offline-Selbsttest unterbricht die Verbindung des Adapters, solange er läuft (das Protokoll nennt den Adapter). Ausführen?</translation>
        </message>
        <message>
            <source>CONFIRM_HARDWARE_WRITE</source>
            <translation>Dies schreibt in den Adapter selbst, den das Protokoll nennt; eine Sicherung seines jetzigen Inhalts wurde gespeichert. In den Adapter schreiben?</translation>
        </message>
        <message>
            <source>TEST_SLOT_STARTED %1</source>
            <translation>Test %1 gestartet</translation>
        </message>
        <message>
            <source>TEST_CASE_STARTED %1</source>
            <translation>Testfall %1 gestartet</translation>
        </message>
        <message>
            <source>TEST_CASE %1 %2</source>
            <translation>Testfall %1: %2</translation>
        </message>
        <message>
            <source>TEST_CASE_PASSED</source>
            <translation>Bestanden</translation>
        </message>
        <message>
            <source>TEST_CASE_FAILED</source>
            <translation>Fehlgeschlagen</translation>
        </message>
        <message>
            <source>TEST_CASE_CANCELLED</source>
            <translation>Abgebrochen</translation>
        </message>
        <message>
            <source>TEST_SLOT_FINISHED %1</source>
            <translation>Test %1 beendet</translation>
        </message>
        <message>
            <source>TEST_SLOT_CANCELLED %1</source>
            <translation>Test %1 abgebrochen</translation>
        </message>
        <message>
            <source>LOOP_COUNT %1</source>
            <translation>Anzahl der Durchläufe: %1</translation>
        </message>
        <message>
            <source>FINISHED_NOT_TESTCASE_SELECTED %1</source>
            <translation>Test %1 beendet: kein Testfall ausgewählt</translation>
        </message>
        <message>
            <source>START_ALL_TESTS_FOR %1</source>
            <translation>Alle Tests für %1 gestartet</translation>
        </message>
        <message>
            <source>ALL_TESTS_FINISHED %1</source>
            <translation>Alle Tests für %1 beendet</translation>
        </message>
        <message>
            <source>NO_TEST_FOR_ALL_TESTS</source>
            <translation>Keiner der Tests dieses Adapters gehört zum Lauf aller Tests.</translation>
        </message>
        <message>
            <source>OPEN_LOGFILE_FAILED %1 %2</source>
            <translation>Die Protokolldatei %1 kann nicht geöffnet werden: %2</translation>
        </message>
        <message>
            <source>LOGFILE_SAVE_FAILED %1 %2</source>
            <translation>Das Protokoll konnte nicht in %1 gespeichert werden: %2</translation>
        </message>
        <message>
            <source>LOGFILE_CHANGES_SAVE_FAILED %1 %2</source>
            <translation>Das Protokoll konnte nicht in %1 gespeichert werden: %2
Ohne Speichern fortfahren?</translation>
        </message>
        <message>
            <source>LOGFILE_UNCHANGED</source>
            <translation>Es gibt keine neuen Protokollzeilen zu speichern.</translation>
        </message>
        <message>
            <source>LOGFILE_UNSAVED</source>
            <translation>Das Protokoll enthält ungespeicherte Zeilen. Jetzt speichern?</translation>
        </message>
        <message>
            <source>CHOOSE_LOGFILE_NAME</source>
            <translation>Protokolldatei wählen</translation>
        </message>
        <message>
            <source>LOGFILE_FILTER %1</source>
            <translation>Protokolldateien (*.%1)</translation>
        </message>
        <message>
            <source>FILE_EXISTS</source>
            <translation>Die Datei existiert bereits. Das Protokoll an ihr Ende anfügen?</translation>
        </message>
        <message>
            <source>OPEN_ADAPTER_FAILED_NO_DRIVER_OR_DISABLED</source>
            <translation>Der Netzwerktreiber des Adapters konnte nicht geöffnet werden. Es ist kein Treiber an den Adapter gebunden, oder der Adapter ist deaktiviert.</translation>
        </message>
        <message>
            <source>QUERY_OID_LINK_STATE_FAILED</source>
            <translation>Der Netzwerktreiber konnte den Verbindungszustand des Adapters nicht melden.</translation>
        </message>
        <message>
            <source>LINK_IS_DOWN</source>
            <translation>Der Adapter hat keine Verbindung. Bitte schließen Sie das Netzwerkkabel an und versuchen Sie es erneut.</translation>
        </message>
        <message>
            <source>ERROR_NO_IP_ADDR_OR_SUBNET_MASK</source>
            <translation>Der Adapter hat keine gültige IP-Adresse oder Subnetzmaske. Bitte richten Sie zuerst die TCP/IP-Einstellungen des Adapters ein.</translation>
        </message>
        <message>
            <source>IP_INPUT_DIALOG_FAILED</source>
            <translation>Der Dialog für die Gegenstellen-Adresse konnte nicht erstellt werden.</translation>
        </message>
        <message>
            <source>START_NETWORK_CONNECT_TEST %1</source>
            <translation>Netzwerk-Verbindungstest für %1 gestartet</translation>
        </message>
        <message>
            <source>STOP_LOCATE_NIC</source>
            <translation>Suche beenden</translation>
        </message>
        <message>
            <source>PING_REPLY %1 %2 %3</source>
            <translation>Echo-Antwort von %2 an %1: %3 ms</translation>
        </message>
        <message>
            <source>PING_NO_ADDRESS %1 %2</source>
            <translation>Ping von %1 an %2: Eine Adresse fehlt.</translation>
        </message>
        <message>
            <source>PING_NO_SOCKET %1 %2</source>
            <translation>Ping von %1 an %2: Es konnte kein ICMP-Socket geöffnet werden.</translation>
        </message>
        <message>
            <source>PING_TIMEOUT_NOT_SET %1 %2</source>
            <translation>Ping von %1 an %2: Die Zeitgrenzen des Sockets konnten nicht gesetzt werden.</translation>
        </message>
        <message>
            <source>PING_NOT_RESOLVED %1 %2</source>
            <translation>Ping von %1 an %2: %2 ist kein bekannter Rechnername und keine IPv4-Adresse.</translation>
        </message>
        <message>
            <source>PING_BIND_FAILED %1 %2</source>
            <translation>Ping von %1 an %2: Dieser Rechner kann nicht von %1 aus senden.</translation>
        </message>
        <message>
            <source>PING_SEND_FAILED %1 %2</source>
            <translation>Ping von %1 an %2: Die Echo-Anfrage konnte nicht gesendet werden.</translation>
        </message>
        <message>
            <source>PING_NO_REPLY %1 %2</source>
            <translation>Ping von %1 an %2: Keine Echo-Antwort innerhalb der Zeitgrenze.</translation>
        </message>
        <message>
            <source>VIEW_VPD</source>
            <translation>Vitale Produktdaten anzeigen</translation>
        </message>
        <message>
            <source>EDIT_VPD</source>
            <translation>Vitale Produktdaten bearbeiten</translation>
        </message>
        <message>
            <source>DELETE_VPD</source>
            <translation>VPD-Schlüsselwörter löschen</translation>
        </message>
        <message>
            <source>VPD_KEY_READONLY %1</source>
            <translation>Das VPD-Schlüsselwort %1 kann nicht geschrieben werden: beschreibbar sind nur V0 bis VZ und Y0 bis YZ.</translation>
        </message>
        <message>
            <source>VPD_VALUE_NOT_WRITABLE %1</source>
            <translation>Der Wert des VPD-Schlüsselworts %1 enthält ein Null-Byte, das unter einem neuen Schlüsselwort nicht geschrieben werden kann. Die Zeile wurde nicht geschrieben.</translation>
        </message>
        <message>
            <source>NO_DELETABLE_VPD_KEY</source>
            <translation>Dieser Adapter hat kein löschbares VPD-Schlüsselwort: löschbar sind nur V0 bis VZ und Y0 bis YZ.</translation>
        </message>
        <message>
            <source>VPD_KEY_DELETED %1</source>
            <translation>Gelöschte VPD-Schlüsselwörter: %1.</translation>
        </message>
        <message>
            <source>NO_VPD_KEY_DELETED</source>
            <translation>Es wurde kein VPD-Schlüsselwort gelöscht.</translation>
        </message>
        <message>
            <source>FLASH_PROM_FILES</source>
            <translation>Flash-PROM-Abbilder</translation>
        </message>
        <message>
            <source>SAVE_FLASH_PROM_FILE</source>
            <translation>Flash-PROM in eine Datei sichern</translation>
        </message>
        <message>
            <source>CHOOSE_FLASHFILE_SAVE_NAME</source>
            <translation>Zu schreibendes Flash-PROM-Abbild</translation>
        </message>
        <message>
            <source>LOAD_FLASH_PROM_FILE</source>
            <translation>Datei in das Flash-PROM programmieren</translation>
        </message>
        <message>
            <source>CHOOSE_FLASHFILE_LOAD_NAME</source>
            <translation>Zu lesendes Flash-PROM-Abbild</translation>
        </message>
        <message>
            <source>FILE_EXISTS</source>
            <comment>Flash PROM image</comment>
            <translation>Die Datei existiert bereits. Soll sie durch den Inhalt des Flash-PROMs ersetzt werden?</translation>
        </message>
        <message>
            <source>ALLOC_FLASHPROM_RAM_FAILED %1</source>
            <translation>Für das Flash-PROM-Abbild ist kein Speicher frei: %1</translation>
        </message>
        <message>
            <source>OPEN_FLASHFILE_FAILED %1 %2</source>
            <translation>Die Flash-PROM-Abbilddatei %1 konnte nicht geöffnet werden: %2</translation>
        </message>
        <message>
            <source>SAVE_FLASH_PROM_FAILED %1 %2</source>
            <translation>Das Flash-PROM konnte nicht in %1 gesichert werden: %2</translation>
        </message>
        <message>
            <source>FLASH_PROM_SAVE_SUCCESS %1</source>
            <translation>Das Flash-PROM wurde in %1 gesichert.</translation>
        </message>
        <message>
            <source>LOAD_FLASH_PROM_FAILED %1 %2</source>
            <translation>Das Flash-PROM-Abbild %1 konnte nicht gelesen werden: %2. Das Flash-PROM wurde nicht verändert.</translation>
        </message>
        <message>
            <source>LOAD_FLASH_PROM_SUCCESS</source>
            <translation>Das Flash-PROM wurde aus %1 programmiert.</translation>
        </message>
        <message>
            <source>CONFIRM_FLASHPROM_CLEAR</source>
            <translation>Das Flash-PROM dieses Adapters löschen? Sein gesamter Inhalt geht verloren.</translation>
        </message>
        <message>
            <source>CONFIRM_FLASHPROM_BACKUP</source>
            <translation>Das Flash-PROM vor dem Löschen in eine Datei sichern?</translation>
        </message>
        <message>
            <source>CONFIRM_FLASHPROM_CLEAR_WITHOUT_BACKUP</source>
            <translation>Das Flash-PROM wurde nicht gesichert. Trotzdem löschen?</translation>
        </message>
        <message>
            <source>ERASE_FLASHPROM_SUCCESS</source>
            <translation>Das Flash-PROM wurde gelöscht.</translation>
        </message>
        <message>
            <source>FLASH_PROM_FILE_EMPTY</source>
            <translation>die Datei ist leer</translation>
        </message>
        <message>
            <source>FLASH_PROM_FILE_CUT %1 %2</source>
            <translation>Das Abbild %1 ist größer als das Flash-PROM: seine letzten %2 Bytes wurden weggelassen.</translation>
        </message>
        <message>
            <source>FLASH_PROM_READING</source>
            <translation>Das Flash-PROM wird gelesen...</translation>
        </message>
        <message>
            <source>FLASH_PROM_PROGRAMMING</source>
            <translation>Das Flash-PROM wird programmiert...</translation>
        </message>
        <message>
            <source>FLASH_PROM_ERASING</source>
            <translation>Das Flash-PROM wird gelöscht...</translation>
        </message>
        <message>
            <source>UNKNOWN</source>
            <translation>Unbekannt</translation>
        </message>
        <message>
            <source>MISC_CONFIG_LIST_NOT_FOUND</source>
            <translation>Die Adapterinformationsdatei nennt für diesen Adapter keine Konfigurationsangaben.</translation>
        </message>
        <message>
            <source>MISC_ITEM_NOT_FOUND</source>
            <translation>Eine Konfigurationsangabe dieses Adapters ist in der Adapterinformationsdatei nicht beschrieben.</translation>
        </message>
        <message>
            <source>PCI_CONFIG_FILES</source>
            <translation>PCI-Konfigurationsdateien</translation>
        </message>
        <message>
            <source>PCI_CONFIG_SAVE_FAILED %1 %2</source>
            <translation>Die PCI-Konfiguration konnte nicht in %1 gespeichert werden: %2</translation>
        </message>
        <message>
            <source>HALF_DUPLEX</source>
            <translation>Halbduplex</translation>
        </message>
        <message>
            <source>FULL_DUPLEX</source>
            <translation>Vollduplex</translation>
        </message>
        <message>
            <source>AUTO_HALF_DUPLEX</source>
            <translation>Halbduplex (ausgehandelt)</translation>
        </message>
        <message>
            <source>AUTO_FULL_DUPLEX</source>
            <translation>Vollduplex (ausgehandelt)</translation>
        </message>
        <message>
            <source>10_MBITS</source>
            <translation>10 MBit/s</translation>
        </message>
        <message>
            <source>100_MBITS</source>
            <translation>100 MBit/s</translation>
        </message>
        <message>
            <source>1000_MBITS</source>
            <translation>1000 MBit/s</translation>
        </message>
        <message>
            <source>LINK_SPEED_MBITS %1</source>
            <translation>%1 MBit/s</translation>
        </message>
        <message>
            <source>IP_STATIC</source>
            <translation> (statisch)</translation>
        </message>
        <message>
            <source>IP_DYNAMIC</source>
            <translation> (dynamisch)</translation>
        </message>
        <message>
            <source>VOLTAGE</source>
            <translation>Spannung</translation>
        </message>
        <message>
            <source>VOLTAGE_UNIT</source>
            <translation>V</translation>
        </message>
        <message>
            <source>TEMPERATURE</source>
            <translation>Temperatur</translation>
        </message>
        <message>
            <source>TEMPERATURE_UNIT</source>
            <translation>°C</translation>
        </message>
        <message>
            <source>FAN_SPEED</source>
            <translation>Lüfterdrehzahl</translation>
        </message>
        <message>
            <source>FAN_SPEED_UNIT</source>
            <translation>U/min</translation>
        </message>
        <message>
            <source>SENSOR_LIST_FAILED</source>
            <translation>Die Sensorliste des Adapters konnte nicht gelesen werden.</translation>
        </message>
        <message>
            <source>SENSOR_NOT_FOUND</source>
            <translation>Die Sensorliste des Adapters fehlt; seine Sensoren werden nicht mehr gelesen.</translation>
        </message>
        <message>
            <source>ADVANCE_HELP %1</source>
            <translation>%1 - erweiterte Konsole</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_1</source>
            <translation>Befehle des Diagnosekerns (Groß- oder Kleinschreibung):</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_2</source>
            <translation>  status                      der Adapter, seine Ports, Link und Such-LED</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_3</source>
            <translation>  stats                       gezählte Frames und Fehler je Port</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_4</source>
            <translation>  reg read &lt;Offset&gt;           ein 32-Bit-Register lesen (hexadezimal)</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_5</source>
            <translation>  reg write &lt;Offset&gt; &lt;Wert&gt;   ein 32-Bit-Register schreiben (hexadezimal)</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_6</source>
            <translation>  selftest &lt;id&gt;, run &lt;id&gt;     einen Untertest der Liste unten ausführen</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_7</source>
            <translation>  sleep &lt;ms&gt;, wait &lt;ms&gt;       warten, höchstens bis zum Abbruch</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_8</source>
            <translation>  Repeater Port A             auf Port A empfangene Frames zurücksenden</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_9</source>
            <translation>  Repeater Port B             dasselbe auf Port B</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_10</source>
            <translation>  Monitor Port A              auf Port A empfangene Frames zählen</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_11</source>
            <translation>  Monitor Port B              dasselbe auf Port B</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_12</source>
            <translation>Repeater- und Monitormodus laufen bis zum Abbruch und schreiben ihren</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_13</source>
            <translation>Zustand in die Tabelle der Karte Repeater/Monitor.</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_14</source>
            <translation>Tasten der Befehlszeile:</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_15</source>
            <translation>  Eingabe                     den Befehl ausführen</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_16</source>
            <translation>  Strg+C, Abbrechen           laufenden Befehl oder Skript abbrechen</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_17</source>
            <translation>  Strg+X                      das Programm verlassen</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_18</source>
            <translation>Anfang und Ende jedes Befehls stehen im Protokoll, seine Ausgabe hier.</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_19</source>
            <translation>Skriptdateien (Datei - Öffnen) enthalten einen Befehl je Zeile:</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_20</source>
            <translation>  # Text                      ein Kommentar</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_21</source>
            <translation>  L                           das Skript wieder ab der ersten Zeile ausführen</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_22</source>
            <translation>  q                           Skript und Programm beenden</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_23</source>
            <translation>Leere Zeilen werden übersprungen; jeder Befehl wartet auf den vorigen.</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_26</source>
            <translation>Eine Zeile über 255 Zeichen wird in Stücken zu 255 gelesen.</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_24</source>
            <translation>Befehle gehen so an den Kern, wie sie eingegeben sind, in Latin-1-Zeichen.</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_25</source>
            <translation>Untertests des gewählten Adapters, für selftest &lt;id&gt; und run &lt;id&gt;:</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_27</source>
            <translation>    id  Name</translation>
        </message>
        <message>
            <source>TESTITEM %1 %2</source>
            <translation>  %1  %2</translation>
        </message>
        <message>
            <source>HELP_QM</source>
            <translation>  ?                           diese Hilfe zeigen</translation>
        </message>
        <message>
            <source>HELP_H</source>
            <translation>  h, help                     ebenfalls diese Hilfe zeigen</translation>
        </message>
        <message>
            <source>EXIT_PROGRAM</source>
            <translation>  q, quit                     das Programm verlassen</translation>
        </message>
        <message>
            <source>COMMAND_STARTED %1</source>
            <translation>Befehl gestartet: %1</translation>
        </message>
        <message>
            <source>COMMAND_FINISHED %1</source>
            <translation>Befehl beendet: %1</translation>
        </message>
        <message>
            <source>COMMAND_FAILED %1</source>
            <translation>Befehl fehlgeschlagen: %1</translation>
        </message>
        <message>
            <source>COMMAND_CANCELLED %1</source>
            <translation>Befehl abgebrochen: %1</translation>
        </message>
        <message>
            <source>Command cancelled !</source>
            <translation>Befehl abgebrochen!</translation>
        </message>
        <message>
            <source>COMMAND_NOT_SENT %1</source>
            <translation>Nicht an den Kern gesendet, enthält Zeichen außerhalb von Latin-1: %1</translation>
        </message>
        <message>
            <source>SCRIPT_FILES</source>
            <translation>Skriptdateien</translation>
        </message>
        <message>
            <source>CHOOSE_SCRIPT_NAME</source>
            <translation>Skriptdatei wählen</translation>
        </message>
        <message>
            <source>OPEN_SCRIPT_FAILED %1 %2</source>
            <translation>Die Skriptdatei %1 kann nicht ausgeführt werden: %2</translation>
        </message>
        <message>
            <source>SCRIPT_STARTED %1</source>
            <translation>Skript gestartet: %1</translation>
        </message>
        <message>
            <source>SCRIPT_FINISHED_1</source>
            <translation>Skript beendet: %1</translation>
        </message>
        <message>
            <source>NOT_A_REGULAR_FILE</source>
            <translation>es ist keine reguläre Datei</translation>
        </message>
        <message>
            <source>NOT_A_TEXT_FILE</source>
            <translation>es ist keine Textdatei</translation>
        </message>
        <message>
            <source>VPD_VALUE_NOT_EDITABLE</source>
            <translation>Dieser Wert enthält Bytes, die sich nicht eintippen lassen (er wird hexadezimal angezeigt), und kann hier nicht geändert werden; er bleibt genau so, wie er gelesen wurde. Für einen neuen Wert löschen Sie das Schlüsselwort und schreiben es neu.</translation>
        </message>
        <message>
            <source>VPD_VALUE_NOT_8BIT %1 %2 %3</source>
            <translation>Der für das VPD-Schlüsselwort %1 eingegebene Wert enthält das Zeichen „%2“ (%3), das ein VPD-Wert nicht speichern kann: Werte sind 8-Bit-Text (ISO 8859-1) ohne Null-Bytes. Es wurde nichts geschrieben; korrigieren Sie den Wert oder brechen Sie ab.</translation>
        </message>
        <message>
            <source>FLASH_PROM_SAVE_EMPTY</source>
            <translation>Das Flash-PROM wurde mit 0 Bytes gelesen. Es gibt kein Abbild zu speichern; keine Datei wurde geschrieben oder geändert.</translation>
        </message>
        <message>
            <source>FLASH_PROM_SIZE_DIFFERS %1 %2</source>
            <translation>Das Flash-PROM enthält %1 Bytes, die konfigurierte flash_size ist %2 Bytes: das Abbild enthält die %1 gelesenen Bytes.</translation>
        </message>
        <message>
            <source>FLASH_PROM_LARGER_THAN_CONFIGURED %1</source>
            <translation>Das Flash-PROM enthält mehr als die konfigurierte flash_size von %1 Bytes: das Abbild enthält nur seine ersten %1 Bytes.</translation>
        </message>
        <message>
            <source>SCRIPT_TOO_LARGE %1</source>
            <translation>es ist größer als %1 MB, was kein Skript aus Befehlen annähernd erreicht</translation>
        </message>
        <message>
            <source>LOG_TOO_LARGE_TO_VIEW %1</source>
            <translation>sie ist größer als %1 MB, mehr als die Protokollansicht fassen kann; öffnen Sie sie in einem Texteditor</translation>
        </message>
        <message>
            <source>IS_LOCATE_LED_BLINKING</source>
            <translation>Blinkt die LED des Adapters jetzt (das Protokoll nennt den Adapter)?</translation>
        </message>
        <message>
            <source>CONTROLS_LOCKED_WHILE_LOCATING</source>
            <translation>Die LED des Adapters blinkt: Die übrigen Bedienelemente sind gesperrt, bis Sie auf der Registerkarte Adapter „Suche beenden“ drücken.</translation>
        </message>
        <message>
            <source>MODE_FINAL_COUNTS %1</source>
            <translation>Endstand: %1</translation>
        </message>
        <message>
            <source>ADAPTER_LOG_NAME %1 %2 %3</source>
            <translation>%1 (Bus %2, Gerät %3)</translation>
        </message>
        <message>
            <source>VPD_KEYWORD_WRITTEN_LOG %1 %2 %3 %4</source>
            <translation>VPD von %1: Schlüsselwort %2 von „%3“ in „%4“ geändert.</translation>
        </message>
        <message>
            <source>VPD_KEYWORD_DELETED_LOG %1 %2 %3</source>
            <translation>VPD von %1: Schlüsselwort %2 gelöscht (sein Wert war „%3“).</translation>
        </message>
        <message>
            <source>VPD_KEYS_WRITTEN %1</source>
            <translation>Geschriebene VPD-Schlüsselwörter: %1.</translation>
        </message>
        <message>
            <source>CONFIRM_VPD_DELETE %1</source>
            <translation>Diese VPD-Schlüsselwörter vom Adapter löschen: %1?</translation>
        </message>
        <message>
            <source>CONFIRM_FLASHPROM_LOAD %1 %2</source>
            <translation>Das Flash-PROM mit %1 (%2 Byte) programmieren? Sein jetziger Inhalt wird überschrieben.</translation>
        </message>
        <message>
            <source>FLASH_PROM_PROGRAMMED_LOG %1 %2 %3</source>
            <translation>Flash-PROM von %1 aus %2 programmiert (%3 Byte).</translation>
        </message>
        <message>
            <source>FLASH_PROM_ERASED_LOG %1</source>
            <translation>Flash-PROM von %1 gelöscht.</translation>
        </message>
        <message>
            <source>RESULT_TEXT_IN_FULL %1 %2</source>
            <translation>%1: %2</translation>
        </message>
        <message>
            <source>LOG_VIEW_OF %1</source>
            <translation>Gespeicherte Protokolldatei %1 – nicht das laufende Protokoll. Laufende Zeilen kommen mit dem nächsten Test, Befehl oder Datei &gt; Neu zurück.</translation>
        </message>
        <message>
            <source>LOG_VIEW_THEN_LIVE %1 %2</source>
            <translation>Oben die gespeicherte Protokolldatei %1; ab Zeile %2 folgen laufende Zeilen.</translation>
        </message>
        <message>
            <source>PING_NOT_SENT %1 %2 %3</source>
            <translation>Ping von %1 an %2: Die Echo-Anfrage konnte nicht gesendet werden: %3.</translation>
        </message>
        <message>
            <source>PING_BOX_NOT_SENT %1 %2</source>
            <translation>Die Echo-Anfrage an %1 konnte nicht gesendet werden: %2. Prüfen Sie IP-Adresse und Subnetzmaske des Adapters und ob es einen Weg zu %1 gibt (ip route).</translation>
        </message>
        <message>
            <source>PING_BOX_NO_REPLY %1 %2</source>
            <translation>Die Gegenstelle %1 hat nicht innerhalb von %2 ms geantwortet. Prüfen Sie, ob sie eingeschaltet ist und auf Pings antwortet, das Netzwerkkabel und die TCP/IP-Einstellungen.</translation>
        </message>
        <message>
            <source>LOCATE_REFUSED %1</source>
            <translation>Die LED des Adapters kann nicht blinken: %1</translation>
        </message>
        <message>
            <source>CURRENT</source>
            <translation>Strom</translation>
        </message>
        <message>
            <source>CURRENT_UNIT</source>
            <translation>mA</translation>
        </message>
        <message>
            <source>OPTICAL_POWER</source>
            <translation>Optische Leistung</translation>
        </message>
        <message>
            <source>OPTICAL_POWER_UNIT</source>
            <translation>mW</translation>
        </message>
        <message>
            <source>POWER_DBM_UNIT</source>
            <translation>dBm</translation>
        </message>
        <message>
            <source>VPD_MODULE_KEYWORD %1 %2</source>
            <translation>Modul %1: %2</translation>
        </message>
        <message>
            <source>VPD_MODULE_VENDOR</source>
            <translation>Hersteller</translation>
        </message>
        <message>
            <source>VPD_MODULE_PART</source>
            <translation>Teilenummer</translation>
        </message>
        <message>
            <source>VPD_MODULE_REVISION</source>
            <translation>Revision</translation>
        </message>
        <message>
            <source>VPD_MODULE_SERIAL</source>
            <translation>Seriennummer</translation>
        </message>
        <message>
            <source>VPD_MODULE_DATE</source>
            <translation>Datumscode</translation>
        </message>
        <message>
            <source>VPD_MODULE_CONNECTOR</source>
            <translation>Steckverbinder</translation>
        </message>
        <message>
            <source>VPD_MODULE_WAVELENGTH</source>
            <translation>Wellenlänge</translation>
        </message>
    </context>
    <context>
        <name>TvDiagMainWindowBase</name>
        <message>
            <source>TvDiagMainWindowBase</source>
            <translation>Orlin Diagnostics</translation>
        </message>
    </context>
    <context>
        <name>TvSplash</name>
        <message>
            <source>VERSION_OS %1 %2</source>
            <translation>Version %1 für %2</translation>
        </message>
        <message>
            <source>COPYRIGHT_NOTE</source>
            <translation>Copyright (c) 2004 Tornavel. Alle Rechte vorbehalten.</translation>
        </message>
        <message>
            <source>OK_TEXT</source>
            <translation>OK</translation>
        </message>
    </context>
    <context>
        <name>TvDiagHelpDlgImpl</name>
        <message>
            <source>HELP_BROWSER %1</source>
            <translation>%1 - Hilfe</translation>
        </message>
        <message>
            <source>OK_TEXT</source>
            <translation>OK</translation>
        </message>
    </context>
    <context>
        <name>TvPing</name>
        <message>
            <source>PING_NOT_PERMITTED %1 %2 %3</source>
            <translation>Es konnte kein ICMP-Socket geöffnet werden, daher kann der Verbindungstest nicht pingen. Ein Raw-Socket braucht das Recht CAP_NET_RAW (%1), und Ping-Sockets sind für die Gruppe %3 nicht erlaubt (%2). Ein Administrator kann normalen Benutzern das Pingen erlauben mit: sysctl -w net.ipv4.ping_group_range="0 2147483647"</translation>
        </message>
        <message>
            <source>PING_SOCKET_FAILED %1 %2</source>
            <translation>Es konnte kein ICMP-Socket geöffnet werden, daher kann der Verbindungstest nicht pingen (Raw-Socket: %1; Ping-Socket: %2).</translation>
        </message>
    </context>
    <context>
        <name>ConTestDlgImpl</name>
        <message>
            <source>NETWORK_CONNECTIVITY_TEST</source>
            <translation>Netzwerk-Verbindungstest</translation>
        </message>
        <message>
            <source>SELECTED_ADAPTER</source>
            <translation>Ausgewählter Adapter</translation>
        </message>
        <message>
            <source>IP_ADDRESS</source>
            <translation>IP-Adresse:</translation>
        </message>
        <message>
            <source>SUBNET_MASK</source>
            <translation>Subnetzmaske:</translation>
        </message>
        <message>
            <source>REMOTE_IP_PROMPT</source>
            <translation>IP-Adresse der Gegenstelle:</translation>
        </message>
        <message>
            <source>OK_TEXT</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>CANCEL_TEXT</source>
            <translation>Abbrechen</translation>
        </message>
        <message>
            <source>IP_FIELD_MUST_NOT_EMPTY %1</source>
            <translation>Feld %1 der Gegenstellen-Adresse darf nicht leer sein.</translation>
        </message>
    </context>
    <context>
        <name>VPDDlgImpl</name>
        <message>
            <source>VPD_DIALOG</source>
            <translation>Vitale Produktdaten</translation>
        </message>
        <message>
            <source>VPD_HELP_TEXT</source>
            <translation>Ändern Sie ein Schlüsselwort oder seinen Wert, oder füllen Sie eine leere Zeile. Nur die Schlüsselwörter V0 bis VZ und Y0 bis YZ können geschrieben werden.</translation>
        </message>
        <message>
            <source>OK_TEXT</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>CANCEL_TEXT</source>
            <translation>Abbrechen</translation>
        </message>
        <message>
            <source>VPD_KEYWORD</source>
            <translation>Schlüsselwort</translation>
        </message>
        <message>
            <source>VPD_DATA</source>
            <translation>Wert</translation>
        </message>
    </context>
    <context>
        <name>VPDValidator</name>
        <message>
            <source>INVALID_FIRST_VPD_KEY_CHAR %1</source>
            <translation>Ein beschreibbares VPD-Schlüsselwort beginnt mit V oder Y, nicht mit %1.</translation>
        </message>
        <message>
            <source>INVALID_SECOND_VPD_KEY_CHAR %1</source>
            <translation>Das zweite Zeichen eines VPD-Schlüsselworts ist eine Ziffer oder ein Großbuchstabe, nicht %1.</translation>
        </message>
        <message>
            <source>CANCEL_TEXT</source>
            <translation>Abbrechen</translation>
        </message>
    </context>
    <context>
        <name>TvMeter</name>
        <message>
            <source>%1 %2</source>
            <translation>%1 %2</translation>
        </message>
        <message>
            <source>NOT_AVAILABLE</source>
            <translation>n. v.</translation>
        </message>
    </context>
    <context>
        <name>TvThermometer</name>
        <message>
            <source>TEMPERATURE_OUTPUT %1 %2</source>
            <translation>%1 °C
%2 °F</translation>
        </message>
        <message>
            <source>NOT_AVAILABLE</source>
            <translation>n. v.</translation>
        </message>
    </context>
    <context>
        <name>TvRunRecorder</name>
        <message>
            <source>RUN_RECORD_WRITE_FAILED %1 %2</source>
            <translation>Das Laufprotokoll %1 konnte nicht geschrieben werden: %2. Der Testlauf und sein Protokoll sind davon nicht betroffen; diese Meldung erscheint erst wieder, nachdem ein Laufprotokoll geschrieben wurde.</translation>
        </message>
        <message>
            <source>RUN_RECORD_NOT_STARTED</source>
            <translation>Der Test konnte nicht starten.</translation>
        </message>
    </context>
    <context>
        <name>TvRunReport</name>
        <message>
            <source>RUN_REPORT_USAGE</source>
            <translation>Aufruf: nicdiag-report [--csv] &lt;protokoll.json | verzeichnis&gt;...
Gibt eine Zeile je Laufprotokoll aus, das älteste zuerst: Datum (UTC), Adapter, Seriennummer und die Anzahl bestandener, fehlgeschlagener und abgebrochener Untertests. Ein Verzeichnis steht für jede *.json-Datei darin. --csv gibt kommagetrennte Werte aus.</translation>
        </message>
        <message>
            <source>RUN_REPORT_DATE</source>
            <translation>Datum (UTC)</translation>
        </message>
        <message>
            <source>RUN_REPORT_ADAPTER</source>
            <translation>Adapter</translation>
        </message>
        <message>
            <source>RUN_REPORT_SERIAL</source>
            <translation>Seriennummer</translation>
        </message>
        <message>
            <source>RUN_REPORT_PASSED</source>
            <translation>Bestanden</translation>
        </message>
        <message>
            <source>RUN_REPORT_FAILED</source>
            <translation>Fehlgeschlagen</translation>
        </message>
        <message>
            <source>RUN_REPORT_CANCELLED</source>
            <translation>Abgebrochen</translation>
        </message>
        <message>
            <source>RUN_REPORT_UNREADABLE %1 %2</source>
            <translation>%1 wird ausgelassen: Die Datei kann nicht gelesen werden (%2).</translation>
        </message>
        <message>
            <source>RUN_REPORT_NOT_A_RECORD %1</source>
            <translation>%1 wird ausgelassen: Die Datei ist kein Laufprotokoll.</translation>
        </message>
        <message>
            <source>RUN_REPORT_NOT_A_REGULAR_FILE</source>
            <translation>keine reguläre Datei</translation>
        </message>
        <message>
            <source>RUN_REPORT_TOO_LARGE %1</source>
            <translation>größer als %1 MB, was kein Laufprotokoll annähernd erreicht</translation>
        </message>
        <message>
            <source>RUN_REPORT_WRITE_FAILED %1</source>
            <translation>Der Bericht konnte nicht vollständig geschrieben werden: %1</translation>
        </message>
    </context>
    <context>
        <name>TvCoreRefusal</name>
        <message>
            <source>CORE_REASON %1</source>
            <translation>Grund: %1</translation>
        </message>
    </context>
    <context>
        <name>TvBatch</name>
        <message>
            <source>BATCH_ADAPTER_GONE</source>
            <translation>Der Adapter ist nicht mehr vorhanden.</translation>
        </message>
        <message>
            <source>BATCH_ADAPTER_IN_USE</source>
            <translation>Der Adapter wird von einem anderen Programm oder Lauf benutzt; er wurde nicht getestet.</translation>
        </message>
        <message>
            <source>BATCH_ADAPTER_NOT_SUPPORTED %1</source>
            <translation>Das Adaptermodell %1 steht nicht in der Adapterinformationsdatei; es kann nicht getestet werden.</translation>
        </message>
        <message>
            <source>BATCH_ADAPTER_TWICE %1</source>
            <translation>Der Adapter %1 ist zweimal angegeben.</translation>
        </message>
        <message>
            <source>BATCH_ASK %1 %2</source>
            <translation>%1
Antwort (%2): </translation>
        </message>
        <message>
            <source>BATCH_BAD_ADAPTER %1</source>
            <translation>--adapter %1: den Adapter als Bus:Gerät angeben, zum Beispiel 2:1 (nicdiag -l listet sie auf).</translation>
        </message>
        <message>
            <source>BATCH_BAD_ANSWER %1</source>
            <translation>--answer %1: no, yes oder ask angeben.</translation>
        </message>
        <message>
            <source>BATCH_BAD_LOOPS %1 %2</source>
            <translation>--loops %1: eine ganze Zahl von 1 bis %2 angeben.</translation>
        </message>
        <message>
            <source>BATCH_CANCELLING</source>
            <translation>Abbruch: die laufenden Untertests enden als abgebrochen; Protokolle und Metriken werden noch geschrieben.</translation>
        </message>
        <message>
            <source>BATCH_CHILD_NOT_STARTED %1</source>
            <translation>Der Testprozess konnte nicht gestartet werden: %1</translation>
        </message>
        <message>
            <source>BATCH_CHILD_NO_REPORT %1</source>
            <translation>Der Testprozess endete (Status %1) ohne Ergebnis.</translation>
        </message>
        <message>
            <source>BATCH_CHILD_SIGNAL %1 %2</source>
            <translation>Der Testprozess wurde durch Signal %1 (%2) beendet.</translation>
        </message>
        <message>
            <source>BATCH_CONFLICT %1</source>
            <translation>%1 kann bei diesem Lauf nicht verwendet werden.</translation>
        </message>
        <message>
            <source>BATCH_METRICS_FAILED %1 %2</source>
            <translation>Die Metrikdatei %1 konnte nicht geschrieben werden: %2. Die alte Datei bleibt unverändert.</translation>
        </message>
        <message>
            <source>BATCH_NO_ADAPTER</source>
            <translation>Die zu testenden Adapter angeben: --adapter &lt;Bus:Gerät&gt; oder --all-adapters.</translation>
        </message>
        <message>
            <source>BATCH_NO_ADAPTERS</source>
            <translation>Es wurde kein Adapter zum Testen gefunden.</translation>
        </message>
        <message>
            <source>BATCH_QUESTION_ANSWERED %1 %2</source>
            <translation>Frage „%1“ beantwortet: %2</translation>
        </message>
        <message>
            <source>BATCH_RECORD_FAILED %1 %2</source>
            <translation>Das Laufprotokoll %1 konnte nicht geschrieben werden: %2</translation>
        </message>
        <message>
            <source>BATCH_REPORT_FAILED %1 %2</source>
            <translation>Das Ergebnis %1 konnte nicht zurückgegeben werden: %2</translation>
        </message>
        <message>
            <source>BATCH_RUN_MISSING</source>
            <translation>Angeben, was laufen soll: --run &lt;Testfallnummer | Name | all&gt;.</translation>
        </message>
        <message>
            <source>BATCH_STILL_CANCELLING</source>
            <translation>Der Abbruch läuft bereits; es wird auf das Ende der laufenden Untertests gewartet, damit Protokolle und Metriken vollständig geschrieben werden.</translation>
        </message>
        <message>
            <source>BATCH_SUBTEST_LINE %1 %2 %3 %4</source>
            <translation>%1 %2 / %3: %4</translation>
        </message>
        <message>
            <source>BATCH_TABLE_HEADER</source>
            <translation>Adapter Ergebnis     Seriennr.    Name</translation>
        </message>
        <message>
            <source>BATCH_TEST_NOT_OFFERED</source>
            <translation>Der Testfall wird für diesen Adapter nicht angeboten.</translation>
        </message>
        <message>
            <source>BATCH_UNKNOWN_ADAPTER %1</source>
            <translation>Es gibt keinen Adapter %1 (nicdiag -l listet sie auf).</translation>
        </message>
        <message>
            <source>BATCH_UNKNOWN_TEST %1</source>
            <translation>Es gibt keinen Testfall %1.</translation>
        </message>
        <message>
            <source>BATCH_RESULT_PASSED</source>
            <translation>bestanden</translation>
        </message>
        <message>
            <source>BATCH_RESULT_FAILED</source>
            <translation>FEHLER</translation>
        </message>
        <message>
            <source>BATCH_RESULT_CANCELLED</source>
            <translation>abgebrochen</translation>
        </message>
        <message>
            <source>BATCH_RESULT_NOT_RUN</source>
            <translation>AUSGELASSEN</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_NONE</source>
            <translation>keine</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_OK</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_CANCEL</source>
            <translation>Abbrechen</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_YES</source>
            <translation>Ja</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_NO</source>
            <translation>Nein</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_ABORT</source>
            <translation>Abbruch</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_RETRY</source>
            <translation>Wiederholen</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_IGNORE</source>
            <translation>Ignorieren</translation>
        </message>
    </context>
</TS>
