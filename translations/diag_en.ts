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
            <source>CMD_LINE_PARA_CAPTURE</source>
            <translation>  --capture &lt;directory&gt;  write what the core reads of every adapter into the directory
                (with PROBEKIT_BACKEND=linux; replayed by PROBEKIT_REPLAY) and end
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
            <translation>  -C &lt;file&gt;     configuration file (default: config.xml in the data directory)
  -I &lt;file&gt;     adapter information file (default: adapterinfofile.xml there)
  -T &lt;file&gt;     test information file (default: testinfofile.xml there)
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
        <message>
            <source>LANGUAGE_NOT_AVAILABLE %1</source>
            <translation>There are no texts in the language %1; the texts are shown in English.
</translation>
        </message>
        <message>
            <source>DISPLAY_UNREACHABLE</source>
            <translation>The display for the window cannot be reached (check DISPLAY or WAYLAND_DISPLAY); start it on a virtual one with: xvfb-run nicdiag
</translation>
        </message>
        <message>
            <source>NO_DISPLAY</source>
            <translation>There is no display for the window (DISPLAY and WAYLAND_DISPLAY are not set); start it on a virtual one with: xvfb-run nicdiag
</translation>
        </message>
        <message>
            <source>LIST_WRITE_FAILED %1</source>
            <translation>The list of adapters could not be written whole: %1</translation>
        </message>
        <message>
            <source>LIST_EMPTY_HINT %1 %2 %3</source>
            <translation>No adapter of the vendor IDs %1 (from %2) was found. The simulated machine (the default backend) holds Orlin adapters, which the shipped description files name. This machine's own adapters need PROBEKIT_BACKEND=linux and the description files for them: -C %3config.xml -I %3adapterinfofile.xml -T %3testinfofile.xml. Adapters of another vendor need description files that name its vendor ID.</translation>
        </message>
        <message>
            <source>USAGE_HINT</source>
            <translation>See nicdiag -? for the options.
</translation>
        </message>
        <message>
            <source>BATCH_OPTIONS_HELP</source>
            <translation>
Headless run options (no display needed)
</translation>
        </message>
        <message>
            <source>CMD_LINE_PARA_BATCH</source>
            <translation>  --run &lt;id|name|all&gt;   run a test case (its number or name) or all tests, without a window
  --adapter &lt;bus:device&gt;  the adapter to test (as -l prints it); may be repeated
  --all-adapters        test every adapter present, each in a process of its own, all at once
  --loops &lt;n&gt;           run the tests n times (1 to 10000; default 1)
  --answer no|yes|ask   how the tests' questions are answered: no (default; a question
                        answered no fails its sub-test), yes, or ask on the terminal
  --records &lt;dir&gt;       directory of the run records and logs (default: runs below the log directory)
  --prometheus &lt;file&gt;   write the results as Prometheus metrics (replaced atomically)
  --quiet               print errors only
  Exit status: 0 everything passed, 1 something failed or was cancelled, 2 usage error,
  3 nothing could run (no adapter free or supported, metrics file not writable).
  Ctrl+C or SIGTERM cancels: running sub-tests end as cancelled, records and metrics are written.
</translation>
        </message>
    </context>
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
        <message>
            <source>NOT_A_REGULAR_FILE</source>
            <translation>it is not a regular file</translation>
        </message>
        <message>
            <source>FILE_TOO_LARGE %1</source>
            <translation>it is larger than %1 MB, which no description file comes near</translation>
        </message>
        <message>
            <source>NESTED_TOO_DEEP %1 %2 %3</source>
            <translation>The file %1 is not read: at line %2 its elements are nested more than %3 levels deep.</translation>
        </message>
        <message>
            <source>READING_STOPPED %1 %2 %3</source>
            <translation>%1, line %2: reading stopped here: %3</translation>
        </message>
        <message>
            <source>CONTROL_CHARACTER</source>
            <translation>a text contains a control character</translation>
        </message>
        <message>
            <source>ENTITY_DECLARATIONS</source>
            <translation>the document declares entities, which description files do not use</translation>
        </message>
        <message>
            <source>MORE_WARNINGS %1</source>
            <translation>Further warnings are left out; the first %1 are listed above.</translation>
        </message>
    </context>
    <context>
        <name>ConfigParser</name>
        <message>
            <source>CONFIG_WRONG_VERSION</source>
            <translation>The configuration file has a format version this program cannot read (version 1.0 is required).</translation>
        </message>
        <message>
            <source>VENDOR_ENTRY_READS_AS_ZERO %1 %2 %3</source>
            <translation>%1, line %2: the vendor ID "%3" of this vendor_entry is not a hexadecimal number written without 0x and reads as 0: the entry matches no adapter, and without a device list it ends the list of supported adapters.</translation>
        </message>
        <message>
            <source>RUN_RECORDS_READS_AS_ZERO %1 %2 %3</source>
            <translation>%1, line %2: run_records &quot;%3&quot; is not a decimal number and reads as 0: run records are off. Write 1 to keep them on, 0 to switch them off.</translation>
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
        <message>
            <source>SUBTEST_ID_OUT_OF_RANGE %1 %2 %3 %4</source>
            <translation>%1, line %2: the sub-test id %3 + %4 does not fit in 32 bits; the sub-test is left out.</translation>
        </message>
    </context>
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
        <message>
            <source>ADAPTERS</source>
            <translation>Adapters</translation>
        </message>
        <message>
            <source>ADVANCED</source>
            <translation>Advanced</translation>
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
            <translation>Configuration</translation>
        </message>
        <message>
            <source>SENSORS</source>
            <translation>Sensors</translation>
        </message>
        <message>
            <source>LOGFILE</source>
            <translation>Log</translation>
        </message>
        <message>
            <source>GENERAL</source>
            <translation>General</translation>
        </message>
        <message>
            <source>INSTALLED_ADAPTERS %1</source>
            <translation>Installed %1 adapters</translation>
        </message>
        <message>
            <source>START_LOCATE_NIC</source>
            <translation>Locate adapter</translation>
        </message>
        <message>
            <source>PERFORM_ALL_TESTS</source>
            <translation>Perform all tests</translation>
        </message>
        <message>
            <source>START_ALL_TESTS_FOR_SEL_ADAPTER</source>
            <translation>Run all tests on the selected adapter</translation>
        </message>
        <message>
            <source>CONNECTIVITY_TEST</source>
            <translation>Connectivity test</translation>
        </message>
        <message>
            <source>START_CONNECTIVITY_TEST_FOR_SEL_ADAPTER</source>
            <translation>Run the connectivity test on the selected adapter</translation>
        </message>
        <message>
            <source>LOOP_INFINITE</source>
            <translation>Loop</translation>
        </message>
        <message>
            <source>LOOP_INFINITE_TOOLTIP</source>
            <translation>Repeat the test case until it is cancelled</translation>
        </message>
        <message>
            <source>LOOP_COUNT</source>
            <translation>Passes:</translation>
        </message>
        <message>
            <source>START_TESTS</source>
            <translation>&amp;Start</translation>
        </message>
        <message>
            <source>CANCEL_TESTS</source>
            <translation>&amp;Cancel</translation>
        </message>
        <message>
            <source>MODE</source>
            <translation>Mode</translation>
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
            <translation>Start</translation>
        </message>
        <message>
            <source>CANCEL_TEXT</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>OK_TEXT</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>PCI_IDS</source>
            <translation>PCI IDs</translation>
        </message>
        <message>
            <source>VENDOR_ID</source>
            <translation>Vendor ID:</translation>
        </message>
        <message>
            <source>DEVICE_ID</source>
            <translation>Device ID:</translation>
        </message>
        <message>
            <source>SUBVENDOR_ID</source>
            <translation>Subsystem vendor ID:</translation>
        </message>
        <message>
            <source>SUBSYSTEM_ID</source>
            <translation>Subsystem ID:</translation>
        </message>
        <message>
            <source>PCI_DATA</source>
            <translation>PCI data</translation>
        </message>
        <message>
            <source>MEMBASE</source>
            <translation>Memory base:</translation>
        </message>
        <message>
            <source>IRQ</source>
            <translation>IRQ:</translation>
        </message>
        <message>
            <source>BUS_CLOCK</source>
            <translation>Bus clock:</translation>
        </message>
        <message>
            <source>IOBASE</source>
            <translation>I/O base:</translation>
        </message>
        <message>
            <source>SLOT</source>
            <translation>Slot:</translation>
        </message>
        <message>
            <source>SLOTSIZE</source>
            <translation>Slot size:</translation>
        </message>
        <message>
            <source>LATENCY</source>
            <translation>Latency:</translation>
        </message>
        <message>
            <source>CACHE_LINE_SIZE</source>
            <translation>Cache line size:</translation>
        </message>
        <message>
            <source>MISCELLANEOUS</source>
            <translation>Miscellaneous</translation>
        </message>
        <message>
            <source>SAVE_PCI_CONFIG_TO_FILE</source>
            <translation>Save to file...</translation>
        </message>
        <message>
            <source>SAVE_PCI_CONFIG_TO_FILE_TOOLTIP</source>
            <translation>Save the PCI configuration of the selected adapter to a file</translation>
        </message>
        <message>
            <source>SAVE_LOGFILE</source>
            <translation>Save log...</translation>
        </message>
        <message>
            <source>DIAG_PROGRAM_INFO</source>
            <translation>Diagnostics program</translation>
        </message>
        <message>
            <source>VERSION_LABEL</source>
            <translation>Version:</translation>
        </message>
        <message>
            <source>RELEASE_DATE</source>
            <translation>Release date:</translation>
        </message>
        <message>
            <source>DRIVER_INFO</source>
            <translation>Network driver</translation>
        </message>
        <message>
            <source>NAME_LABEL</source>
            <translation>Name:</translation>
        </message>
        <message>
            <source>DESCRIPTION</source>
            <translation>Description:</translation>
        </message>
        <message>
            <source>COPYRIGHT</source>
            <translation>Copyright:</translation>
        </message>
        <message>
            <source>NOT_AVAILABLE</source>
            <translation>n/a</translation>
        </message>
        <message>
            <source>NETWORK_STATUS</source>
            <translation>Network status</translation>
        </message>
        <message>
            <source>IP_ADDRESS</source>
            <translation>IP address:</translation>
        </message>
        <message>
            <source>SUBNET_MASK</source>
            <translation>Subnet mask:</translation>
        </message>
        <message>
            <source>LINK_LABEL</source>
            <translation>Link:</translation>
        </message>
        <message>
            <source>LINK_SPEED</source>
            <translation>Speed:</translation>
        </message>
        <message>
            <source>ACTIVITY_LABEL</source>
            <translation>Activity:</translation>
        </message>
        <message>
            <source>DUPLEX</source>
            <translation>Duplex:</translation>
        </message>
        <message>
            <source>FILE_MENU</source>
            <translation>&amp;File</translation>
        </message>
        <message>
            <source>TEST_MENU</source>
            <translation>&amp;Tests</translation>
        </message>
        <message>
            <source>FPROM_MENU</source>
            <translation>F&amp;lash PROM</translation>
        </message>
        <message>
            <source>VPD_MENU</source>
            <translation>&amp;VPD</translation>
        </message>
        <message>
            <source>HELP_MENU</source>
            <translation>&amp;Help</translation>
        </message>
        <message>
            <source>NEW_LOGFILE_TXT</source>
            <translation>New log</translation>
        </message>
        <message>
            <source>NEW_LOGFILE_MENU</source>
            <translation>&amp;New log</translation>
        </message>
        <message>
            <source>NEW_LOGFILE_ACCEL</source>
            <translation>Ctrl+N</translation>
        </message>
        <message>
            <source>OPEN_SCRIPT_TXT</source>
            <translation>Open script file</translation>
        </message>
        <message>
            <source>OPEN_SCRIPT_MENU</source>
            <translation>&amp;Open script...</translation>
        </message>
        <message>
            <source>OPEN_SCRIPT_ACCEL</source>
            <translation>Ctrl+O</translation>
        </message>
        <message>
            <source>SAVE_LOGFILE_TXT</source>
            <translation>Save log</translation>
        </message>
        <message>
            <source>SAVE_LOGFILE_MENU</source>
            <translation>&amp;Save log</translation>
        </message>
        <message>
            <source>SAVE_LOGFILE_ACCEL</source>
            <translation>Ctrl+S</translation>
        </message>
        <message>
            <source>SAVE_AS_TXT</source>
            <translation>Save log as</translation>
        </message>
        <message>
            <source>SAVE_AS_MENU</source>
            <translation>Save log &amp;as...</translation>
        </message>
        <message>
            <source>SAVE_AS_ACCEL</source>
            <translation>Ctrl+Shift+S</translation>
        </message>
        <message>
            <source>EXIT_TXT</source>
            <translation>Exit</translation>
        </message>
        <message>
            <source>EXIT_MENU</source>
            <translation>E&amp;xit</translation>
        </message>
        <message>
            <source>EXIT_ACCEL</source>
            <translation>Ctrl+Q</translation>
        </message>
        <message>
            <source>ABOUT_TXT</source>
            <translation>About</translation>
        </message>
        <message>
            <source>ABOUT_MENU</source>
            <translation>&amp;About...</translation>
        </message>
        <message>
            <source>ABOUT_ACCEL</source>
            <translation>Shift+F1</translation>
        </message>
        <message>
            <source>SAVE_FPROM_TXT</source>
            <translation>Save flash PROM</translation>
        </message>
        <message>
            <source>SAVE_FPROM_MENU</source>
            <translation>&amp;Save to file...</translation>
        </message>
        <message>
            <source>SAVE_FPROM_ACCEL</source>
            <translation>Ctrl+F</translation>
        </message>
        <message>
            <source>LOAD_FPROM_TXT</source>
            <translation>Load flash PROM</translation>
        </message>
        <message>
            <source>LOAD_FPROM_MENU</source>
            <translation>&amp;Load from file...</translation>
        </message>
        <message>
            <source>LOAD_FPROM_ACCEL</source>
            <translation>Ctrl+L</translation>
        </message>
        <message>
            <source>CLEAR_FPROM_TXT</source>
            <translation>Erase flash PROM</translation>
        </message>
        <message>
            <source>CLEAR_FPROM_MENU</source>
            <translation>&amp;Erase</translation>
        </message>
        <message>
            <source>CLEAR_FPROM_ACCEL</source>
            <translation>Ctrl+E</translation>
        </message>
        <message>
            <source>VIEW_VPD_TXT</source>
            <translation>View VPD</translation>
        </message>
        <message>
            <source>VIEW_VPD_MENU</source>
            <translation>&amp;View vital product data...</translation>
        </message>
        <message>
            <source>VIEW_VPD_ACCEL</source>
            <translation>Ctrl+D</translation>
        </message>
        <message>
            <source>EDIT_VPD_TXT</source>
            <translation>Edit VPD</translation>
        </message>
        <message>
            <source>EDIT_VPD_MENU</source>
            <translation>&amp;Edit vital product data...</translation>
        </message>
        <message>
            <source>EDIT_VPD_ACCEL</source>
            <translation>Ctrl+W</translation>
        </message>
        <message>
            <source>DELETE_VPD_TXT</source>
            <translation>Delete VPD keywords</translation>
        </message>
        <message>
            <source>DELETE_VPD_MENU</source>
            <translation>&amp;Delete keywords...</translation>
        </message>
        <message>
            <source>DELETE_VPD_ACCEL</source>
            <translation>Ctrl+K</translation>
        </message>
        <message>
            <source>HELP_TXT</source>
            <translation>&amp;Help contents</translation>
        </message>
        <message>
            <source>HELP_ACCEL</source>
            <translation>F1</translation>
        </message>
        <message>
            <source>VIEW_LOGFILE_TXT</source>
            <translation>View log file</translation>
        </message>
        <message>
            <source>VIEW_LOGFILE_MENU</source>
            <translation>&amp;View log file...</translation>
        </message>
        <message>
            <source>VIEW_LOGFILE_ACCEL</source>
            <translation>Ctrl+G</translation>
        </message>
        <message>
            <source>ALL_TESTS_TXT</source>
            <translation>&amp;All tests</translation>
        </message>
        <message>
            <source>ALL_TESTS_TOOLTIP</source>
            <translation>Run all tests on the selected adapter</translation>
        </message>
        <message>
            <source>ALL_TESTS_STATUSTIP</source>
            <translation>Runs every test case of the selected adapter in a row</translation>
        </message>
        <message>
            <source>REPEATER_MODE</source>
            <translation>&amp;Repeater mode</translation>
        </message>
        <message>
            <source>REPEATER_MODE_TOOLTIP</source>
            <translation>Start the repeater mode on port A</translation>
        </message>
        <message>
            <source>REPEATER_MODE_STATUSTIP</source>
            <translation>Puts port A of the selected adapter into repeater mode</translation>
        </message>
        <message>
            <source>CTRL_M</source>
            <translation>Ctrl+M</translation>
        </message>
        <message>
            <source>ALLOC_TESTPROGRESS_FAILED</source>
            <translation>The test progress rows could not be created.</translation>
        </message>
        <message>
            <source>ALLOC_MENUACTION_FAILED</source>
            <translation>A menu entry could not be created.</translation>
        </message>
        <message>
            <source>ALLOC_SENSOR_TIMER_FAILED</source>
            <translation>The sensor timer could not be created; the sensors are not polled.</translation>
        </message>
        <message>
            <source>ALLOC_ADAPTER_TIMER_FAILED</source>
            <translation>The adapter timer could not be created; the adapter list is not refreshed.</translation>
        </message>
        <message>
            <source>ALLOC_GENERAL_TIMER_FAILED</source>
            <translation>The status timer could not be created; the network status is not refreshed.</translation>
        </message>
        <message>
            <source>ALLOC_LOCATE_TIMER_FAILED</source>
            <translation>The locate timer could not be created; the adapter LED cannot blink.</translation>
        </message>
        <message>
            <source>ADAPTER_LIST_FAILED</source>
            <translation>The list of installed adapters could not be read.</translation>
        </message>
        <message>
            <source>ADAPTER_NOT_FOUND</source>
            <translation>No supported adapter was found in this computer.</translation>
        </message>
        <message>
            <source>ALL_ADAPTER_DIAGNOSED</source>
            <translation>Every supported adapter is already being diagnosed by another instance of the program.</translation>
        </message>
        <message>
            <source>TEST_STILL_RUNNING</source>
            <translation>A test is still running. Cancel it and close the program?</translation>
        </message>
        <message>
            <source>CREATE_HELP_FAILED</source>
            <translation>The help browser could not be opened.</translation>
        </message>
        <message>
            <source>ADAPTER_UNKNOWN</source>
            <translation>[unknown adapter] </translation>
        </message>
        <message>
            <source>ALREADY_DIAGNOSED</source>
            <translation>[in use elsewhere] </translation>
        </message>
        <message>
            <source>IN_SLOT %1 %2</source>
            <translation>%1 in slot %2</translation>
        </message>
        <message>
            <source>DEVICE_ON_BUS %1 %2 %3</source>
            <translation>%1, device %2 on bus %3</translation>
        </message>
        <message>
            <source>ADAPTER_ALREADY_DIAGNOSED</source>
            <translation>This adapter is already being diagnosed by another instance of the program.</translation>
        </message>
        <message>
            <source>TESTCASE_LIST_FAILED</source>
            <translation>No test cases are described for this adapter.</translation>
        </message>
        <message>
            <source>TESTITEM_NOT_FOUND</source>
            <translation>A test case of this adapter is missing from the test information file.</translation>
        </message>
        <message>
            <source>TOO_MANY_SUBTEST_CASES</source>
            <translation>This test case has more than seven sub-tests and cannot be shown.</translation>
        </message>
        <message>
            <source>EVERYTHING_OK</source>
            <translation>Everything OK.</translation>
        </message>
        <message>
            <source>CALLER_NOT_ROOT</source>
            <translation>The program needs administrator rights.</translation>
        </message>
        <message>
            <source>OUT_OF_MEMORY</source>
            <translation>Out of memory.</translation>
        </message>
        <message>
            <source>OPEN_DEVICE_FAILED</source>
            <translation>The device could not be opened.</translation>
        </message>
        <message>
            <source>IOCTL_FAILED</source>
            <translation>A device control request failed.</translation>
        </message>
        <message>
            <source>MMAP_FAILED</source>
            <translation>The adapter memory could not be mapped.</translation>
        </message>
        <message>
            <source>MUNMAP_FAILED</source>
            <translation>The adapter memory could not be unmapped.</translation>
        </message>
        <message>
            <source>NULL_POINTER</source>
            <translation>Internal error: null pointer.</translation>
        </message>
        <message>
            <source>INTERNAL_ERROR</source>
            <translation>Internal error.</translation>
        </message>
        <message>
            <source>TVDGLIB_ERROR</source>
            <translation>Error in the diagnostics library.</translation>
        </message>
        <message>
            <source>NO_PCI_DEVICES_FOUND</source>
            <translation>No PCI devices were found.</translation>
        </message>
        <message>
            <source>NO_SUCH_DEVICE</source>
            <translation>The adapter does not exist.</translation>
        </message>
        <message>
            <source>ADAPTER_INIT_FAILED</source>
            <translation>The adapter could not be initialised.</translation>
        </message>
        <message>
            <source>ADAPTER_DEINIT_FAILED</source>
            <translation>The adapter could not be shut down.</translation>
        </message>
        <message>
            <source>ADAPTER_ALREADY_SELECTED</source>
            <translation>The adapter is already selected.</translation>
        </message>
        <message>
            <source>INVALID_KEYWORD</source>
            <translation>Invalid VPD keyword.</translation>
        </message>
        <message>
            <source>VPD_TIMEOUT</source>
            <translation>Timeout while accessing the vital product data.</translation>
        </message>
        <message>
            <source>VPD_FATAL_ERROR</source>
            <translation>Fatal error in the vital product data.</translation>
        </message>
        <message>
            <source>VPD_BUFFER_OVERFLOW</source>
            <translation>The vital product data do not fit into the buffer.</translation>
        </message>
        <message>
            <source>KEYWORD_NOT_FOUND</source>
            <translation>VPD keyword not found.</translation>
        </message>
        <message>
            <source>VPD_FULL</source>
            <translation>The vital product data area is full.</translation>
        </message>
        <message>
            <source>WRITE_KEYWORD_FAILED</source>
            <translation>The VPD keyword could not be written.</translation>
        </message>
        <message>
            <source>FPROM_ACCESS_FAILED</source>
            <translation>The flash PROM could not be accessed.</translation>
        </message>
        <message>
            <source>INIT_FPROM_FAILED</source>
            <translation>The flash PROM could not be initialised.</translation>
        </message>
        <message>
            <source>VERIFY_FPROM_FAILED</source>
            <translation>Verifying the flash PROM failed.</translation>
        </message>
        <message>
            <source>PROG_ALL_ZEROS_FAILED</source>
            <translation>Programming the flash PROM with zeros failed.</translation>
        </message>
        <message>
            <source>FLASH_ERASE_FAILED</source>
            <translation>Erasing the flash PROM failed.</translation>
        </message>
        <message>
            <source>PROG_FLASH_FAILED</source>
            <translation>Programming the flash PROM failed.</translation>
        </message>
        <message>
            <source>ADAPTER_LOCK_FAILED</source>
            <translation>The adapter could not be reserved.</translation>
        </message>
        <message>
            <source>ADAPTER_UNLOCK_FAILED</source>
            <translation>The adapter could not be released.</translation>
        </message>
        <message>
            <source>ADAPTER_OPEN_FAILED</source>
            <translation>The adapter could not be opened.</translation>
        </message>
        <message>
            <source>GET_OID_FAILED</source>
            <translation>A driver value could not be read.</translation>
        </message>
        <message>
            <source>SET_OID_FAILED</source>
            <translation>A driver value could not be written.</translation>
        </message>
        <message>
            <source>ADAPTER_IN_WRONG_DIAG_STATE</source>
            <translation>The adapter is in the wrong diagnostic state.</translation>
        </message>
        <message>
            <source>ADAPTER_ALREADY_SELECTED_BUT_NOT_DIAG</source>
            <translation>The adapter is selected but not in diagnostic mode.</translation>
        </message>
        <message>
            <source>ERROR_ERROR %1</source>
            <translation>Unknown error %1.</translation>
        </message>
        <message>
            <source>CONFIRM_LOOP</source>
            <translation>Is the loopback plug connected?</translation>
        </message>
        <message>
            <source>CONFIRM_LINK</source>
            <translation>Is the network cable connected to a working link partner?</translation>
        </message>
        <message>
            <source>IS_10_LED_ON</source>
            <translation>Is the 10 Mbit/s LED on?</translation>
        </message>
        <message>
            <source>IS_10_LED_OFF</source>
            <translation>Is the 10 Mbit/s LED off?</translation>
        </message>
        <message>
            <source>IS_100_LED_ON</source>
            <translation>Is the 100 Mbit/s LED on?</translation>
        </message>
        <message>
            <source>IS_100_LED_OFF</source>
            <translation>Is the 100 Mbit/s LED off?</translation>
        </message>
        <message>
            <source>IS_1000_LED_ON</source>
            <translation>Is the 1000 Mbit/s LED on?</translation>
        </message>
        <message>
            <source>IS_1000_LED_OFF</source>
            <translation>Is the 1000 Mbit/s LED off?</translation>
        </message>
        <message>
            <source>IS_ACT_LED_ON</source>
            <translation>Is the activity LED on?</translation>
        </message>
        <message>
            <source>IS_ACT_LED_OFF</source>
            <translation>Is the activity LED off?</translation>
        </message>
        <message>
            <source>IS_DUP_LED_ON</source>
            <translation>Is the duplex LED on?</translation>
        </message>
        <message>
            <source>IS_DUP_LED_OFF</source>
            <translation>Is the duplex LED off?</translation>
        </message>
        <message>
            <source>IS_LINK_LED_ON</source>
            <translation>Is the link LED on?</translation>
        </message>
        <message>
            <source>IS_LINK_LED_BLINK</source>
            <translation>Is the link LED blinking?</translation>
        </message>
        <message>
            <source>IS_LINK_LED_OFF</source>
            <translation>Is the link LED off?</translation>
        </message>
        <message>
            <source>IS_TX_LED_ON</source>
            <translation>Is the transmit LED on?</translation>
        </message>
        <message>
            <source>IS_TX_LED_OFF</source>
            <translation>Is the transmit LED off?</translation>
        </message>
        <message>
            <source>IS_RX_LED_ON</source>
            <translation>Is the receive LED on?</translation>
        </message>
        <message>
            <source>IS_RX_LED_OFF</source>
            <translation>Is the receive LED off?</translation>
        </message>
        <message>
            <source>IS_STAT_LED_ON</source>
            <translation>Is the status LED on?</translation>
        </message>
        <message>
            <source>IS_STAT_LED_OFF</source>
            <translation>Is the status LED off?</translation>
        </message>
        <message>
            <source>LINK DOWN!</source>
            <translation>The link is down!</translation>
        </message>
        <message>
            <source>READY_FOR_MAGIC</source>
            <translation>Ready to send the magic packet?</translation>
        </message>
        <message>
            <source>MAGIC_IS_SENT</source>
            <translation>The magic packet has been sent.</translation>
        </message>
        <message>
            <source>CHECK_LINK</source>
            <translation>Please check the network cable.</translation>
        </message>
        <message>
            <source>REMOVE_CABLE</source>
            <translation>Please unplug the network cable.</translation>
        </message>
        <message>
            <source>REMOVE_AND_PLUG </source>
            <translation>Please unplug the network cable and plug it in again.</translation>
        </message>
        <message>
            <source>PLUG_CABLE</source>
            <translation>Please plug in the network cable.</translation>
        </message>
        <message>
            <source>LINK_MODE</source>
            <translation>Link mode</translation>
        </message>
        <message>
            <source>LINK_STATE</source>
            <translation>Link state</translation>
        </message>
        <message>
            <source>LINK_MASTER_SLAVE</source>
            <translation>Master/slave</translation>
        </message>
        <message>
            <source>LINK_ESTIMATE</source>
            <translation>Link quality</translation>
        </message>
        <message>
            <source>LINK_CHANGES</source>
            <translation>Link changes</translation>
        </message>
        <message>
            <source>FALSE_CARRIER</source>
            <translation>False carrier</translation>
        </message>
        <message>
            <source>FCS_ERRORS</source>
            <translation>FCS errors</translation>
        </message>
        <message>
            <source>FRAMES_RECEIVED</source>
            <translation>Frames received</translation>
        </message>
        <message>
            <source>FRAMES_TRANSMITTED</source>
            <translation>Frames transmitted</translation>
        </message>
        <message>
            <source>PAUSE_RECEIVED</source>
            <translation>Pause frames received</translation>
        </message>
        <message>
            <source>PAUSE_TRANSMITTED</source>
            <translation>Pause frames transmitted</translation>
        </message>
        <message>
            <source>RECEIVE_OVERFLOWS</source>
            <translation>Receive overflows</translation>
        </message>
        <message>
            <source>NO_LINK</source>
            <translation>No link</translation>
        </message>
        <message>
            <source>NOT_ACTIVE</source>
            <translation>Not active</translation>
        </message>
        <message>
            <source>NOT_SUPPORTED</source>
            <translation>Not supported</translation>
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
            <translation>Link up</translation>
        </message>
        <message>
            <source>LINK_DOWN</source>
            <translation>Link down</translation>
        </message>
        <message>
            <source>NUMBER_OF_BUFFERS</source>
            <translation>Number of buffers</translation>
        </message>
        <message>
            <source>RX_PACKET_SIZE</source>
            <translation>Receive packet size</translation>
        </message>
        <message>
            <source>RX_SHORT_EVENT</source>
            <translation>Short receive events</translation>
        </message>
        <message>
            <source>DELTA_COUNTER</source>
            <translation>Delta counter</translation>
        </message>
        <message>
            <source>COMM_FAILURE</source>
            <translation>Communication failure</translation>
        </message>
        <message>
            <source>CONFIRM_OFFLINE_TEST</source>
            <translation>The offline self-test takes the adapter's link down while it runs (the log names the adapter). Run it?</translation>
        </message>
        <message>
            <source>CONFIRM_HARDWARE_WRITE</source>
            <translation>This writes to the adapter itself, named in the log; a backup of what it holds now has been saved. Write to the adapter?</translation>
        </message>
        <message>
            <source>TEST_SLOT_STARTED %1</source>
            <translation>Test %1 started</translation>
        </message>
        <message>
            <source>TEST_CASE_STARTED %1</source>
            <translation>Test case %1 started</translation>
        </message>
        <message>
            <source>TEST_CASE %1 %2</source>
            <translation>Test case %1: %2</translation>
        </message>
        <message>
            <source>TEST_CASE_PASSED</source>
            <translation>Passed</translation>
        </message>
        <message>
            <source>TEST_CASE_FAILED</source>
            <translation>Failed</translation>
        </message>
        <message>
            <source>TEST_CASE_CANCELLED</source>
            <translation>Cancelled</translation>
        </message>
        <message>
            <source>TEST_SLOT_FINISHED %1</source>
            <translation>Test %1 finished</translation>
        </message>
        <message>
            <source>TEST_SLOT_CANCELLED %1</source>
            <translation>Test %1 cancelled</translation>
        </message>
        <message>
            <source>LOOP_COUNT %1</source>
            <translation>Loop count: %1</translation>
        </message>
        <message>
            <source>FINISHED_NOT_TESTCASE_SELECTED %1</source>
            <translation>Test %1 finished: no test case was selected</translation>
        </message>
        <message>
            <source>START_ALL_TESTS_FOR %1</source>
            <translation>All tests started for %1</translation>
        </message>
        <message>
            <source>ALL_TESTS_FINISHED %1</source>
            <translation>All tests finished for %1</translation>
        </message>
        <message>
            <source>NO_TEST_FOR_ALL_TESTS</source>
            <translation>None of the tests of this adapter belongs to the all-tests run.</translation>
        </message>
        <message>
            <source>OPEN_LOGFILE_FAILED %1 %2</source>
            <translation>The log file %1 cannot be opened: %2</translation>
        </message>
        <message>
            <source>LOGFILE_SAVE_FAILED %1 %2</source>
            <translation>The log could not be saved to %1: %2</translation>
        </message>
        <message>
            <source>LOGFILE_CHANGES_SAVE_FAILED %1 %2</source>
            <translation>The log could not be saved to %1: %2
Go on without saving it?</translation>
        </message>
        <message>
            <source>LOGFILE_UNCHANGED</source>
            <translation>There are no new log lines to save.</translation>
        </message>
        <message>
            <source>LOGFILE_UNSAVED</source>
            <translation>The log holds lines that have not been saved. Save them now?</translation>
        </message>
        <message>
            <source>CHOOSE_LOGFILE_NAME</source>
            <translation>Choose a log file</translation>
        </message>
        <message>
            <source>LOGFILE_FILTER %1</source>
            <translation>Log files (*.%1)</translation>
        </message>
        <message>
            <source>FILE_EXISTS</source>
            <translation>The file exists already. Add the log to its end?</translation>
        </message>
        <message>
            <source>OPEN_ADAPTER_FAILED_NO_DRIVER_OR_DISABLED</source>
            <translation>The adapter's network driver could not be opened. No driver is bound to the adapter, or the adapter is disabled.</translation>
        </message>
        <message>
            <source>QUERY_OID_LINK_STATE_FAILED</source>
            <translation>The network driver could not tell the adapter's link state.</translation>
        </message>
        <message>
            <source>LINK_IS_DOWN</source>
            <translation>The adapter has no link. Please connect the network cable and try again.</translation>
        </message>
        <message>
            <source>ERROR_NO_IP_ADDR_OR_SUBNET_MASK</source>
            <translation>The adapter has no valid IP address or subnet mask. Please configure the adapter's TCP/IP settings first.</translation>
        </message>
        <message>
            <source>IP_INPUT_DIALOG_FAILED</source>
            <translation>The dialog for the remote address could not be created.</translation>
        </message>
        <message>
            <source>START_NETWORK_CONNECT_TEST %1</source>
            <translation>Network connectivity test started for %1</translation>
        </message>
        <message>
            <source>STOP_LOCATE_NIC</source>
            <translation>Stop locating</translation>
        </message>
        <message>
            <source>PING_REPLY %1 %2 %3</source>
            <translation>Echo reply from %2 to %1: %3 ms</translation>
        </message>
        <message>
            <source>PING_NO_ADDRESS %1 %2</source>
            <translation>Ping from %1 to %2: an address is missing.</translation>
        </message>
        <message>
            <source>PING_NO_SOCKET %1 %2</source>
            <translation>Ping from %1 to %2: no ICMP socket could be opened.</translation>
        </message>
        <message>
            <source>PING_TIMEOUT_NOT_SET %1 %2</source>
            <translation>Ping from %1 to %2: the socket's time limits could not be set.</translation>
        </message>
        <message>
            <source>PING_NOT_RESOLVED %1 %2</source>
            <translation>Ping from %1 to %2: %2 is not a known host name or IPv4 address.</translation>
        </message>
        <message>
            <source>PING_BIND_FAILED %1 %2</source>
            <translation>Ping from %1 to %2: this machine cannot send from %1.</translation>
        </message>
        <message>
            <source>PING_SEND_FAILED %1 %2</source>
            <translation>Ping from %1 to %2: the echo request could not be sent.</translation>
        </message>
        <message>
            <source>PING_NO_REPLY %1 %2</source>
            <translation>Ping from %1 to %2: no echo reply within the time limit.</translation>
        </message>
        <message>
            <source>VIEW_VPD</source>
            <translation>View vital product data</translation>
        </message>
        <message>
            <source>EDIT_VPD</source>
            <translation>Edit vital product data</translation>
        </message>
        <message>
            <source>DELETE_VPD</source>
            <translation>Delete VPD keywords</translation>
        </message>
        <message>
            <source>VPD_KEY_READONLY %1</source>
            <translation>The VPD keyword %1 cannot be written: only V0 to VZ and Y0 to YZ are writable.</translation>
        </message>
        <message>
            <source>VPD_VALUE_NOT_WRITABLE %1</source>
            <translation>The value of the VPD keyword %1 holds a zero byte, which cannot be written under a new keyword. The row has not been written.</translation>
        </message>
        <message>
            <source>NO_DELETABLE_VPD_KEY</source>
            <translation>This adapter has no VPD keyword that can be deleted: only V0 to VZ and Y0 to YZ can.</translation>
        </message>
        <message>
            <source>VPD_KEY_DELETED %1</source>
            <translation>VPD keywords deleted: %1.</translation>
        </message>
        <message>
            <source>NO_VPD_KEY_DELETED</source>
            <translation>No VPD keyword was deleted.</translation>
        </message>
        <message>
            <source>FLASH_PROM_FILES</source>
            <translation>Flash PROM images</translation>
        </message>
        <message>
            <source>SAVE_FLASH_PROM_FILE</source>
            <translation>Save the flash PROM to a file</translation>
        </message>
        <message>
            <source>CHOOSE_FLASHFILE_SAVE_NAME</source>
            <translation>Flash PROM image to write</translation>
        </message>
        <message>
            <source>LOAD_FLASH_PROM_FILE</source>
            <translation>Program a file into the flash PROM</translation>
        </message>
        <message>
            <source>CHOOSE_FLASHFILE_LOAD_NAME</source>
            <translation>Flash PROM image to read</translation>
        </message>
        <message>
            <source>FILE_EXISTS</source>
            <comment>Flash PROM image</comment>
            <translation>The file exists already. Replace it with the contents of the flash PROM?</translation>
        </message>
        <message>
            <source>ALLOC_FLASHPROM_RAM_FAILED %1</source>
            <translation>There is no memory for the flash PROM image: %1</translation>
        </message>
        <message>
            <source>OPEN_FLASHFILE_FAILED %1 %2</source>
            <translation>The flash PROM image file %1 could not be opened: %2</translation>
        </message>
        <message>
            <source>SAVE_FLASH_PROM_FAILED %1 %2</source>
            <translation>The flash PROM could not be saved to %1: %2</translation>
        </message>
        <message>
            <source>FLASH_PROM_SAVE_SUCCESS %1</source>
            <translation>The flash PROM has been saved to %1.</translation>
        </message>
        <message>
            <source>LOAD_FLASH_PROM_FAILED %1 %2</source>
            <translation>The flash PROM image %1 could not be read: %2. The flash PROM has not been changed.</translation>
        </message>
        <message>
            <source>LOAD_FLASH_PROM_SUCCESS</source>
            <translation>The flash PROM has been programmed from %1.</translation>
        </message>
        <message>
            <source>CONFIRM_FLASHPROM_CLEAR</source>
            <translation>Erase the flash PROM of this adapter? All of its contents will be lost.</translation>
        </message>
        <message>
            <source>CONFIRM_FLASHPROM_BACKUP</source>
            <translation>Save the flash PROM to a file before it is erased?</translation>
        </message>
        <message>
            <source>CONFIRM_FLASHPROM_CLEAR_WITHOUT_BACKUP</source>
            <translation>The flash PROM has not been saved. Erase it all the same?</translation>
        </message>
        <message>
            <source>ERASE_FLASHPROM_SUCCESS</source>
            <translation>The flash PROM has been erased.</translation>
        </message>
        <message>
            <source>FLASH_PROM_FILE_EMPTY</source>
            <translation>the file is empty</translation>
        </message>
        <message>
            <source>FLASH_PROM_FILE_CUT %1 %2</source>
            <translation>The image %1 is larger than the flash PROM: its last %2 bytes were left out.</translation>
        </message>
        <message>
            <source>FLASH_PROM_READING</source>
            <translation>Reading the flash PROM...</translation>
        </message>
        <message>
            <source>FLASH_PROM_PROGRAMMING</source>
            <translation>Programming the flash PROM...</translation>
        </message>
        <message>
            <source>FLASH_PROM_ERASING</source>
            <translation>Erasing the flash PROM...</translation>
        </message>
        <message>
            <source>UNKNOWN</source>
            <translation>Unknown</translation>
        </message>
        <message>
            <source>MISC_CONFIG_LIST_NOT_FOUND</source>
            <translation>The adapter information file lists no configuration items for this adapter.</translation>
        </message>
        <message>
            <source>MISC_ITEM_NOT_FOUND</source>
            <translation>A configuration item of this adapter is not described in the adapter information file.</translation>
        </message>
        <message>
            <source>PCI_CONFIG_FILES</source>
            <translation>PCI configuration files</translation>
        </message>
        <message>
            <source>PCI_CONFIG_SAVE_FAILED %1 %2</source>
            <translation>The PCI configuration could not be saved to %1: %2</translation>
        </message>
        <message>
            <source>HALF_DUPLEX</source>
            <translation>Half duplex</translation>
        </message>
        <message>
            <source>FULL_DUPLEX</source>
            <translation>Full duplex</translation>
        </message>
        <message>
            <source>AUTO_HALF_DUPLEX</source>
            <translation>Half duplex (negotiated)</translation>
        </message>
        <message>
            <source>AUTO_FULL_DUPLEX</source>
            <translation>Full duplex (negotiated)</translation>
        </message>
        <message>
            <source>10_MBITS</source>
            <translation>10 Mbit/s</translation>
        </message>
        <message>
            <source>100_MBITS</source>
            <translation>100 Mbit/s</translation>
        </message>
        <message>
            <source>1000_MBITS</source>
            <translation>1000 Mbit/s</translation>
        </message>
        <message>
            <source>LINK_SPEED_MBITS %1</source>
            <translation>%1 Mbit/s</translation>
        </message>
        <message>
            <source>IP_STATIC</source>
            <translation> (static)</translation>
        </message>
        <message>
            <source>IP_DYNAMIC</source>
            <translation> (dynamic)</translation>
        </message>
        <message>
            <source>VOLTAGE</source>
            <translation>Voltage</translation>
        </message>
        <message>
            <source>VOLTAGE_UNIT</source>
            <translation>V</translation>
        </message>
        <message>
            <source>TEMPERATURE</source>
            <translation>Temperature</translation>
        </message>
        <message>
            <source>TEMPERATURE_UNIT</source>
            <translation>°C</translation>
        </message>
        <message>
            <source>FAN_SPEED</source>
            <translation>Fan Speed</translation>
        </message>
        <message>
            <source>FAN_SPEED_UNIT</source>
            <translation>rpm</translation>
        </message>
        <message>
            <source>SENSOR_LIST_FAILED</source>
            <translation>The adapter's sensor list could not be read.</translation>
        </message>
        <message>
            <source>SENSOR_NOT_FOUND</source>
            <translation>The adapter's sensor list is missing, so its sensors are no longer read.</translation>
        </message>
        <message>
            <source>ADVANCE_HELP %1</source>
            <translation>%1 - advanced console</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_1</source>
            <translation>Commands of the diagnostics core (upper or lower case):</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_2</source>
            <translation>  status                      the adapter, its ports, link and locate LED</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_3</source>
            <translation>  stats                       frames and errors counted on each port</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_4</source>
            <translation>  reg read &lt;offset&gt;           read a 32-bit register (hexadecimal)</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_5</source>
            <translation>  reg write &lt;offset&gt; &lt;value&gt;  write a 32-bit register (hexadecimal)</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_6</source>
            <translation>  selftest &lt;id&gt;, run &lt;id&gt;     run one sub-test of the list below</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_7</source>
            <translation>  sleep &lt;ms&gt;, wait &lt;ms&gt;       wait, until cancelled at most</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_8</source>
            <translation>  Repeater Port A             send the frames received on port A back out</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_9</source>
            <translation>  Repeater Port B             the same on port B</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_10</source>
            <translation>  Monitor Port A              count the frames received on port A</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_11</source>
            <translation>  Monitor Port B              the same on port B</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_12</source>
            <translation>The repeater and monitor modes run until they are cancelled and write</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_13</source>
            <translation>their state into the table of the Repeater/Monitor tab.</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_14</source>
            <translation>Keys of the command line:</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_15</source>
            <translation>  Enter                       run the command</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_16</source>
            <translation>  Ctrl+C, Cancel button       cancel the running command or script</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_17</source>
            <translation>  Ctrl+X                      leave the program</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_18</source>
            <translation>The start and end of each command go to the log; its output appears here.</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_19</source>
            <translation>Script files (File - Open) hold one command a line:</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_20</source>
            <translation>  # text                      a comment</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_21</source>
            <translation>  L                           start the script again from its first line</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_22</source>
            <translation>  q                           end the script and the program</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_23</source>
            <translation>Empty lines are skipped; each command waits for the one before it.</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_26</source>
            <translation>A line longer than 255 characters is taken in pieces of 255.</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_24</source>
            <translation>Commands go to the core as typed, in Latin-1 characters.</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_25</source>
            <translation>Sub-tests of the selected adapter, for selftest &lt;id&gt; and run &lt;id&gt;:</translation>
        </message>
        <message>
            <source>ADVANCED_HELP_27</source>
            <translation>    id  name</translation>
        </message>
        <message>
            <source>TESTITEM %1 %2</source>
            <translation>  %1  %2</translation>
        </message>
        <message>
            <source>HELP_QM</source>
            <translation>  ?                           show this help</translation>
        </message>
        <message>
            <source>HELP_H</source>
            <translation>  h, help                     show this help as well</translation>
        </message>
        <message>
            <source>EXIT_PROGRAM</source>
            <translation>  q, quit                     leave the program</translation>
        </message>
        <message>
            <source>COMMAND_STARTED %1</source>
            <translation>Command started: %1</translation>
        </message>
        <message>
            <source>COMMAND_FINISHED %1</source>
            <translation>Command finished: %1</translation>
        </message>
        <message>
            <source>COMMAND_FAILED %1</source>
            <translation>Command failed: %1</translation>
        </message>
        <message>
            <source>COMMAND_CANCELLED %1</source>
            <translation>Command cancelled: %1</translation>
        </message>
        <message>
            <source>Command cancelled !</source>
            <translation>Command cancelled !</translation>
        </message>
        <message>
            <source>COMMAND_NOT_SENT %1</source>
            <translation>Not sent to the core, it holds characters outside Latin-1: %1</translation>
        </message>
        <message>
            <source>SCRIPT_FILES</source>
            <translation>Script files</translation>
        </message>
        <message>
            <source>CHOOSE_SCRIPT_NAME</source>
            <translation>Choose a script file</translation>
        </message>
        <message>
            <source>OPEN_SCRIPT_FAILED %1 %2</source>
            <translation>The script file %1 cannot be run: %2</translation>
        </message>
        <message>
            <source>SCRIPT_STARTED %1</source>
            <translation>Script started: %1</translation>
        </message>
        <message>
            <source>SCRIPT_FINISHED_1</source>
            <translation>Script finished: %1</translation>
        </message>
        <message>
            <source>NOT_A_REGULAR_FILE</source>
            <translation>it is not a regular file</translation>
        </message>
        <message>
            <source>NOT_A_TEXT_FILE</source>
            <translation>it is not a text file</translation>
        </message>
        <message>
            <source>VPD_VALUE_NOT_EDITABLE</source>
            <translation>This value holds bytes that cannot be typed (it is shown in hexadecimal), so it cannot be changed here; it stays exactly as read. To give it a new value, delete the keyword and write it again.</translation>
        </message>
        <message>
            <source>VPD_VALUE_NOT_8BIT %1 %2 %3</source>
            <translation>The value typed for the VPD keyword %1 holds the character “%2” (%3), which a VPD value cannot store: values are 8-bit text (ISO 8859-1) without zero bytes. Nothing has been written; correct the value or cancel.</translation>
        </message>
        <message>
            <source>FLASH_PROM_SAVE_EMPTY</source>
            <translation>The flash PROM was read as 0 bytes. There is no image to save; no file has been written or changed.</translation>
        </message>
        <message>
            <source>FLASH_PROM_SIZE_DIFFERS %1 %2</source>
            <translation>The flash PROM holds %1 bytes, the configured flash_size is %2 bytes: the image holds the %1 bytes read.</translation>
        </message>
        <message>
            <source>FLASH_PROM_LARGER_THAN_CONFIGURED %1</source>
            <translation>The flash PROM holds more than the configured flash_size of %1 bytes: the image holds only its first %1 bytes.</translation>
        </message>
        <message>
            <source>SCRIPT_TOO_LARGE %1</source>
            <translation>it is larger than %1 MB, which no script of commands comes near</translation>
        </message>
        <message>
            <source>LOG_TOO_LARGE_TO_VIEW %1</source>
            <translation>it is larger than %1 MB, more than a log view can hold; open it in a text editor</translation>
        </message>
        <message>
            <source>IS_LOCATE_LED_BLINKING</source>
            <translation>Is the adapter's LED blinking now (the log names the adapter)?</translation>
        </message>
        <message>
            <source>CONTROLS_LOCKED_WHILE_LOCATING</source>
            <translation>The adapter's LED is blinking: the other controls are locked until you press Stop locating on the Adapters tab.</translation>
        </message>
        <message>
            <source>MODE_FINAL_COUNTS %1</source>
            <translation>Final counts: %1</translation>
        </message>
        <message>
            <source>ADAPTER_LOG_NAME %1 %2 %3</source>
            <translation>%1 (bus %2, device %3)</translation>
        </message>
        <message>
            <source>VPD_KEYWORD_WRITTEN_LOG %1 %2 %3 %4</source>
            <translation>VPD of %1: keyword %2 changed from "%3" to "%4".</translation>
        </message>
        <message>
            <source>VPD_KEYWORD_DELETED_LOG %1 %2 %3</source>
            <translation>VPD of %1: keyword %2 deleted (its value was "%3").</translation>
        </message>
        <message>
            <source>VPD_KEYS_WRITTEN %1</source>
            <translation>VPD keywords written: %1.</translation>
        </message>
        <message>
            <source>CONFIRM_VPD_DELETE %1</source>
            <translation>Delete these VPD keywords from the adapter: %1?</translation>
        </message>
        <message>
            <source>CONFIRM_FLASHPROM_LOAD %1 %2</source>
            <translation>Program the flash PROM with %1 (%2 bytes)? Its present contents will be overwritten.</translation>
        </message>
        <message>
            <source>FLASH_PROM_PROGRAMMED_LOG %1 %2 %3</source>
            <translation>Flash PROM of %1 programmed from %2 (%3 bytes).</translation>
        </message>
        <message>
            <source>FLASH_PROM_ERASED_LOG %1</source>
            <translation>Flash PROM of %1 erased.</translation>
        </message>
        <message>
            <source>RESULT_TEXT_IN_FULL %1 %2</source>
            <translation>%1: %2</translation>
        </message>
        <message>
            <source>LOG_VIEW_OF %1</source>
            <translation>Saved log file %1 — not the live log. Live lines return with the next test, command or File &gt; New.</translation>
        </message>
        <message>
            <source>LOG_VIEW_THEN_LIVE %1 %2</source>
            <translation>Saved log file %1 above; live lines follow from line %2.</translation>
        </message>
        <message>
            <source>PING_NOT_SENT %1 %2 %3</source>
            <translation>Ping from %1 to %2: the echo request could not be sent: %3.</translation>
        </message>
        <message>
            <source>PING_BOX_NOT_SENT %1 %2</source>
            <translation>The echo request to %1 could not be sent: %2. Check the adapter's IP address and subnet mask and whether there is a route to %1 (ip route).</translation>
        </message>
        <message>
            <source>PING_BOX_NO_REPLY %1 %2</source>
            <translation>The remote host %1 did not answer within %2 ms. Check that it is switched on and answers pings, the network cable and the TCP/IP settings.</translation>
        </message>
        <message>
            <source>LOCATE_REFUSED %1</source>
            <translation>The adapter's LED cannot blink: %1</translation>
        </message>
        <message>
            <source>CURRENT</source>
            <translation>Current</translation>
        </message>
        <message>
            <source>CURRENT_UNIT</source>
            <translation>mA</translation>
        </message>
        <message>
            <source>OPTICAL_POWER</source>
            <translation>Optical power</translation>
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
            <translation>Module %1: %2</translation>
        </message>
        <message>
            <source>VPD_MODULE_VENDOR</source>
            <translation>vendor</translation>
        </message>
        <message>
            <source>VPD_MODULE_PART</source>
            <translation>part number</translation>
        </message>
        <message>
            <source>VPD_MODULE_REVISION</source>
            <translation>revision</translation>
        </message>
        <message>
            <source>VPD_MODULE_SERIAL</source>
            <translation>serial number</translation>
        </message>
        <message>
            <source>VPD_MODULE_DATE</source>
            <translation>date code</translation>
        </message>
        <message>
            <source>VPD_MODULE_CONNECTOR</source>
            <translation>connector</translation>
        </message>
        <message>
            <source>VPD_MODULE_WAVELENGTH</source>
            <translation>wavelength</translation>
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
            <translation>Version %1 for %2</translation>
        </message>
        <message>
            <source>COPYRIGHT_NOTE</source>
            <translation>Copyright (c) 2004 Tornavel. All rights reserved.</translation>
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
            <translation>%1 - Help</translation>
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
            <translation>No ICMP socket could be opened, so the connectivity test cannot ping. A raw socket needs the CAP_NET_RAW privilege (%1), and ping sockets are not allowed for group %3 (%2). An administrator can allow ordinary users to ping with: sysctl -w net.ipv4.ping_group_range="0 2147483647"</translation>
        </message>
        <message>
            <source>PING_SOCKET_FAILED %1 %2</source>
            <translation>No ICMP socket could be opened, so the connectivity test cannot ping (raw socket: %1; ping socket: %2).</translation>
        </message>
    </context>
    <context>
        <name>ConTestDlgImpl</name>
        <message>
            <source>NETWORK_CONNECTIVITY_TEST</source>
            <translation>Network connectivity test</translation>
        </message>
        <message>
            <source>SELECTED_ADAPTER</source>
            <translation>Selected adapter</translation>
        </message>
        <message>
            <source>IP_ADDRESS</source>
            <translation>IP address:</translation>
        </message>
        <message>
            <source>SUBNET_MASK</source>
            <translation>Subnet mask:</translation>
        </message>
        <message>
            <source>REMOTE_IP_PROMPT</source>
            <translation>IP address of the remote host:</translation>
        </message>
        <message>
            <source>OK_TEXT</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>CANCEL_TEXT</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>IP_FIELD_MUST_NOT_EMPTY %1</source>
            <translation>Field %1 of the remote address must not be empty.</translation>
        </message>
    </context>
    <context>
        <name>VPDDlgImpl</name>
        <message>
            <source>VPD_DIALOG</source>
            <translation>Vital product data</translation>
        </message>
        <message>
            <source>VPD_HELP_TEXT</source>
            <translation>Change a keyword or its value, or fill an empty row. Only the keywords V0 to VZ and Y0 to YZ can be written.</translation>
        </message>
        <message>
            <source>OK_TEXT</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>CANCEL_TEXT</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>VPD_KEYWORD</source>
            <translation>Keyword</translation>
        </message>
        <message>
            <source>VPD_DATA</source>
            <translation>Value</translation>
        </message>
    </context>
    <context>
        <name>VPDValidator</name>
        <message>
            <source>INVALID_FIRST_VPD_KEY_CHAR %1</source>
            <translation>A writable VPD keyword starts with V or Y, not with %1.</translation>
        </message>
        <message>
            <source>INVALID_SECOND_VPD_KEY_CHAR %1</source>
            <translation>The second character of a VPD keyword is a digit or a capital letter, not %1.</translation>
        </message>
        <message>
            <source>CANCEL_TEXT</source>
            <translation>Cancel</translation>
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
            <translation>n/a</translation>
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
            <translation>n/a</translation>
        </message>
    </context>
    <context>
        <name>TvRunRecorder</name>
        <message>
            <source>RUN_RECORD_WRITE_FAILED %1 %2</source>
            <translation>The run record %1 could not be written: %2. The test run and its log are not affected; this message is not shown again until a record has been written.</translation>
        </message>
        <message>
            <source>RUN_RECORD_NOT_STARTED</source>
            <translation>The test could not start.</translation>
        </message>
    </context>
    <context>
        <name>TvRunReport</name>
        <message>
            <source>RUN_REPORT_USAGE</source>
            <translation>Usage: nicdiag-report [--csv] &lt;record.json | directory&gt;...
Prints one line per run record, oldest first: date (UTC), adapter, serial number and the numbers of passed, failed and cancelled sub-tests. A directory stands for every *.json file in it. --csv prints comma-separated values.</translation>
        </message>
        <message>
            <source>RUN_REPORT_DATE</source>
            <translation>Date (UTC)</translation>
        </message>
        <message>
            <source>RUN_REPORT_ADAPTER</source>
            <translation>Adapter</translation>
        </message>
        <message>
            <source>RUN_REPORT_SERIAL</source>
            <translation>Serial number</translation>
        </message>
        <message>
            <source>RUN_REPORT_PASSED</source>
            <translation>Passed</translation>
        </message>
        <message>
            <source>RUN_REPORT_FAILED</source>
            <translation>Failed</translation>
        </message>
        <message>
            <source>RUN_REPORT_CANCELLED</source>
            <translation>Cancelled</translation>
        </message>
        <message>
            <source>RUN_REPORT_UNREADABLE %1 %2</source>
            <translation>%1 is left out: it cannot be read (%2).</translation>
        </message>
        <message>
            <source>RUN_REPORT_NOT_A_RECORD %1</source>
            <translation>%1 is left out: it is not a run record.</translation>
        </message>
        <message>
            <source>RUN_REPORT_NOT_A_REGULAR_FILE</source>
            <translation>not a regular file</translation>
        </message>
        <message>
            <source>RUN_REPORT_TOO_LARGE %1</source>
            <translation>larger than %1 MB, which no run record comes near</translation>
        </message>
        <message>
            <source>RUN_REPORT_WRITE_FAILED %1</source>
            <translation>The report could not be written whole: %1</translation>
        </message>
    </context>
    <context>
        <name>TvCoreRefusal</name>
        <message>
            <source>CORE_REASON %1</source>
            <translation>Reason: %1</translation>
        </message>
    </context>
    <context>
        <name>TvBatch</name>
        <message>
            <source>BATCH_ADAPTER_GONE</source>
            <translation>The adapter is no longer there.</translation>
        </message>
        <message>
            <source>BATCH_ADAPTER_IN_USE</source>
            <translation>The adapter is in use by another program or run; it was not tested.</translation>
        </message>
        <message>
            <source>BATCH_ADAPTER_NOT_SUPPORTED %1</source>
            <translation>The adapter model %1 is not in the adapter information file; it cannot be tested.</translation>
        </message>
        <message>
            <source>BATCH_ADAPTER_TWICE %1</source>
            <translation>The adapter %1 is named twice.</translation>
        </message>
        <message>
            <source>BATCH_ASK %1 %2</source>
            <translation>%1
Answer (%2): </translation>
        </message>
        <message>
            <source>BATCH_BAD_ADAPTER %1</source>
            <translation>--adapter %1: give the adapter as bus:device, for example 2:1 (nicdiag -l lists them).</translation>
        </message>
        <message>
            <source>BATCH_BAD_ANSWER %1</source>
            <translation>--answer %1: give no, yes or ask.</translation>
        </message>
        <message>
            <source>BATCH_BAD_LOOPS %1 %2</source>
            <translation>--loops %1: give a whole number from 1 to %2.</translation>
        </message>
        <message>
            <source>BATCH_CANCELLING</source>
            <translation>Cancelling: the running sub-tests end as cancelled; records and metrics are still written.</translation>
        </message>
        <message>
            <source>BATCH_CHILD_NOT_STARTED %1</source>
            <translation>The test process could not be started: %1</translation>
        </message>
        <message>
            <source>BATCH_CHILD_NO_REPORT %1</source>
            <translation>The test process ended (status %1) without a result.</translation>
        </message>
        <message>
            <source>BATCH_CHILD_SIGNAL %1 %2</source>
            <translation>The test process was ended by signal %1 (%2).</translation>
        </message>
        <message>
            <source>BATCH_CONFLICT %1</source>
            <translation>%1 cannot be used with this run.</translation>
        </message>
        <message>
            <source>BATCH_METRICS_FAILED %1 %2</source>
            <translation>The metrics file %1 could not be written: %2. The old file is left as it was.</translation>
        </message>
        <message>
            <source>BATCH_NO_ADAPTER</source>
            <translation>Name the adapters to test: --adapter &lt;bus:device&gt; or --all-adapters.</translation>
        </message>
        <message>
            <source>BATCH_NO_ADAPTERS</source>
            <translation>No adapter was found to test.</translation>
        </message>
        <message>
            <source>BATCH_QUESTION_ANSWERED %1 %2</source>
            <translation>Question "%1" answered: %2</translation>
        </message>
        <message>
            <source>BATCH_RECORD_FAILED %1 %2</source>
            <translation>The run record %1 could not be written: %2</translation>
        </message>
        <message>
            <source>BATCH_REPORT_FAILED %1 %2</source>
            <translation>The result %1 could not be handed back: %2</translation>
        </message>
        <message>
            <source>BATCH_RUN_MISSING</source>
            <translation>Name what to run: --run &lt;test case number | name | all&gt;.</translation>
        </message>
        <message>
            <source>BATCH_STILL_CANCELLING</source>
            <translation>Already cancelling; waiting for the running sub-tests to end so that records and metrics are written whole.</translation>
        </message>
        <message>
            <source>BATCH_SUBTEST_LINE %1 %2 %3 %4</source>
            <translation>%1 %2 / %3: %4</translation>
        </message>
        <message>
            <source>BATCH_TABLE_HEADER</source>
            <translation>Adapter Result       Serial       Name</translation>
        </message>
        <message>
            <source>BATCH_TEST_NOT_OFFERED</source>
            <translation>The test case is not offered for this adapter.</translation>
        </message>
        <message>
            <source>BATCH_UNKNOWN_ADAPTER %1</source>
            <translation>There is no adapter %1 (nicdiag -l lists them).</translation>
        </message>
        <message>
            <source>BATCH_UNKNOWN_TEST %1</source>
            <translation>There is no test case %1.</translation>
        </message>
        <message>
            <source>BATCH_RESULT_PASSED</source>
            <translation>passed</translation>
        </message>
        <message>
            <source>BATCH_RESULT_FAILED</source>
            <translation>FAILED</translation>
        </message>
        <message>
            <source>BATCH_RESULT_CANCELLED</source>
            <translation>cancelled</translation>
        </message>
        <message>
            <source>BATCH_RESULT_NOT_RUN</source>
            <translation>NOT RUN</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_NONE</source>
            <translation>none</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_OK</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_CANCEL</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_YES</source>
            <translation>Yes</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_NO</source>
            <translation>No</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_ABORT</source>
            <translation>Abort</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_RETRY</source>
            <translation>Retry</translation>
        </message>
        <message>
            <source>BATCH_BUTTON_IGNORE</source>
            <translation>Ignore</translation>
        </message>
    </context>
</TS>
