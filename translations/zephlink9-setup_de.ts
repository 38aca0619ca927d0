<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>DurationText</name>
    <message>
        <location filename="../app/DurationText.cpp" line="+9"/>
        <source>%1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 h %2 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 d %2 h</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EventTableModel</name>
    <message>
        <location filename="../app/EventTableModel.cpp" line="+52"/>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Event</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FormLayout</name>
    <message>
        <location filename="../dialogs/FormLayout.cpp" line="+53"/>
        <source>Error Relais:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModeByte</name>
    <message>
        <location filename="../model/ModeByte.cpp" line="+33"/>
        <source>even</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>odd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModuleDescription</name>
    <message>
        <location filename="../model/ModuleDescription.cpp" line="+23"/>
        <source>G (attached module)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>L (side L)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>R (side R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>P (locate answer)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>no parity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 parity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Channel %1: %2, error counter %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>No module has answered yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Module %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last reply: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Version: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mode: %1 (%2 baud, %3, %4, %5)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>2 stop bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>1 stop bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Marked faulty: no answer to the last locate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModuleIDText</name>
    <message>
        <location filename="../model/ModuleIDText.cpp" line="+16"/>
        <source>A module ID is a whole decimal number, digits 0 to 9 only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>A module ID lies between 0 and 32000.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModuleListModel</name>
    <message>
        <location filename="../model/ModuleListModel.cpp" line="+41"/>
        <source>faulty (no locate answer)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+119"/>
        <source>applied, not yet read back</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModulePicture</name>
    <message>
        <location filename="../ringview/ModulePicture.cpp" line="+34"/>
        <source>No module</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Module %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1
Selected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModuleTexts</name>
    <message>
        <location filename="../model/ModuleTexts.cpp" line="+19"/>
        <source>faulty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>sound</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortStateText</name>
    <message>
        <location filename="../core/PortStateText.cpp" line="+13"/>
        <source>No COM port chosen: closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>in use by another program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>could not be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>closed by the COM port dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>closed, the device vanished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>closed, the device vanished; looking for it once a second</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReferenceRing</name>
    <message>
        <location filename="../core/ReferenceRing.cpp" line="+19"/>
        <source>Line %1: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The reference ring cannot be read:<byte value="xd"/>
%1<byte value="xd"/>
%2%3<byte value="xd"/>
Scans are not compared with a reference.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 modules</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>unreadable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Replace the saved reference ring (%1, saved %2)?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>This ring cannot be the reference: %1.<byte value="xd"/>
The reference is left as it was.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The reference ring cannot be written:<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>No reference ring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Reference unreadable: line %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Reference unreadable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Reference: %1 modules</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Reference: %1 of %2 present</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RingCore</name>
    <message>
        <location filename="../core/RingCore.cpp" line="+166"/>
        <source>Verify Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+50"/>
        <source>The metrics page cannot be served on %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>No scan has found modules yet: there is no ring to save as the reference.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+33"/>
        <source>1 new event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 new events</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RingLog</name>
    <message>
        <location filename="../core/RingLog.cpp" line="+112"/>
        <source>The ring log cannot be written:<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RingReport</name>
    <message>
        <location filename="../app/RingReport.cpp" line="+42"/>
        <source>%1 baud, parity %2, 2 stop bits, rule %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 baud, parity %2, 1 stop bit, rule %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>yyyy-MM-dd HH:mm:ss</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Date: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Program: %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Port: COM%1, device %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scanned: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Modules: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Attached module: ID %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Verify Settings: not run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Verify Settings of %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>    Module %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>    and %1 more, see the table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>    1 module applied after the check, no longer verified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>    %1 modules applied after the check, no longer verified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Reference ring: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+46"/>
        <source>Page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Last 24 hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>No ring history is kept (the configuration&apos;s key &quot;history&quot;).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Largest error-counter increase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Module ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Increase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Time faulty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>No channel counted errors or was faulty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Share of the %1 scans each module answered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+33"/>
        <location line="+51"/>
        <source>ZEPHLINK9 Ring Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+33"/>
        <source>The report cannot be written:<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrendChart</name>
    <message>
        <location filename="../app/TrendChart.cpp" line="+73"/>
        <source>Increase per interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Channel 1 faulty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Channel 2 faulty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Channel %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1. Channel 1: increase %2, faulty %3. Channel 2: increase %4, faulty %5. No answer in %6 of %7 intervals.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Verification</name>
    <message>
        <location filename="../model/Verification.cpp" line="+13"/>
        <source>as applied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>differs: mode %1, applied %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>nothing applied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+60"/>
        <source>applied after the check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>differs since %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 of %2 modules as applied, %3 differs, %4 no answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>, %1 nothing applied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Verify Settings: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorstChannelsModel</name>
    <message>
        <location filename="../app/WorstChannelsModel.cpp" line="+41"/>
        <source>Module ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Increase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time faulty</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmBackground</name>
    <message>
        <location filename="../ringview/frmBackground.cpp" line="+28"/>
        <source>Bus Info - Searching module... </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Bus Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+297"/>
        <source>Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Modul with ID %1 not answer!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Bus Info - Selected module not found!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Bus Info - module found!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmDebug</name>
    <message>
        <location filename="../app/frmDebug.cpp" line="+12"/>
        <source>Debug</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Received bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Clear debug output list</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmEvents</name>
    <message>
        <location filename="../app/frmEvents.cpp" line="+16"/>
        <location line="+3"/>
        <source>Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Acknowledge</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmGlobalSettings</name>
    <message>
        <location filename="../dialogs/frmGlobalSettings.cpp" line="+51"/>
        <location line="+136"/>
        <source>Global Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-128"/>
        <source>RS485 Baudrate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Parity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>even</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>odd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Stopbits:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Write to E²PROM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+76"/>
        <source>Programming modules...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Update modules...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+33"/>
        <source>The frame for module %1 could not be sent on %2.<byte value="xd"/>
%3 of %4 modules were programmed; the others were not sent anything.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <location filename="../app/frmMain.cpp" line="+105"/>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Autorefresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Debug</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Select COM port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Verify Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save Report...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Module List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save as Reference</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Trends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+430"/>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-421"/>
        <source>&amp;Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;Ring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+58"/>
        <source>Port state</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+356"/>
        <source>Sets up and watches ZEPHLINK9 fibre-optic rings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+6"/>
        <location line="+39"/>
        <source>Save Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-44"/>
        <source>No modules: Refresh scans the ring first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>PDF report (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Module table (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+53"/>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>No Modules found!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Warning!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>LWL-System contains a none-ZEPHLINK9 module!<byte value="xd"/>
Please remove those modules and try again!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmModuleList</name>
    <message>
        <location filename="../ringview/frmModuleList.cpp" line="+30"/>
        <source>Find ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Faults only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Modules</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+53"/>
        <source>Module List - %1 of %2 shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Module List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+70"/>
        <source>Module %1 is not in the ring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Module %1 is not faulty: &quot;Faults only&quot; hides it</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmModuleState</name>
    <message>
        <location filename="../dialogs/frmModuleState.cpp" line="+22"/>
        <source>Module State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Modul ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Error Counter CH1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Error Counter CH2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Write to E²PROM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Not sent. %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmProgramSettings</name>
    <message>
        <location filename="../dialogs/frmProgramSettings.cpp" line="+20"/>
        <source>Program settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Select COM port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+50"/>
        <source>COM%1 (in use)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>COM%1 (not found)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>No com port available!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmProgress</name>
    <message>
        <location filename="../dialogs/frmProgress.cpp" line="+17"/>
        <source>Progress State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%v of %m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmTrends</name>
    <message>
        <location filename="../app/frmTrends.cpp" line="+34"/>
        <source>Last hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last 24 hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last 7 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last 30 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Trends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Range:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Module:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Channels with the largest increase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+68"/>
        <source>The ring history is off: there is nothing to show.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>No module</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Module %1, %2, increase per %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
