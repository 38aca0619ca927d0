<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>DurationText</name>
    <message>
        <location filename="../app/DurationText.cpp" line="+9"/>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 d %2 h</source>
        <translation>%1 d %2 h</translation>
    </message>
</context>
<context>
    <name>EventTableModel</name>
    <message>
        <location filename="../app/EventTableModel.cpp" line="+52"/>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Event</source>
        <translation>Ereignis</translation>
    </message>
</context>
<context>
    <name>FormLayout</name>
    <message>
        <location filename="../dialogs/FormLayout.cpp" line="+53"/>
        <source>Error Relais:</source>
        <translation>Fehlerrelais:</translation>
    </message>
</context>
<context>
    <name>HistoryFaults</name>
    <message>
        <location filename="../history/HistoryFaults.cpp" line="+64"/>
        <source>It was written by a newer version of the program (history version %1; this version reads %2).</source>
        <translation>Sie wurde von einer neueren Version des Programms geschrieben (Historienversion %1; diese Version liest %2).</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>It is a folder.</source>
        <translation>Es ist ein Ordner.</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+54"/>
        <source>The file is read-only.</source>
        <translation>Die Datei ist schreibgeschützt.</translation>
    </message>
    <message>
        <location line="-46"/>
        <location line="+50"/>
        <source>The file is not an SQLite database.</source>
        <translation>Die Datei ist keine SQLite-Datenbank.</translation>
    </message>
    <message>
        <location line="-29"/>
        <source>The file is an SQLite database of another program.</source>
        <translation>Die Datei ist eine SQLite-Datenbank eines anderen Programms.</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>The file is locked by another program.</source>
        <translation>Die Datei ist von einem anderen Programm gesperrt.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The file cannot be opened (%1).</source>
        <translation>Die Datei kann nicht geöffnet werden (%1).</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The ring history cannot be kept in<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
%3</source>
        <translation>Die Ringhistorie kann nicht geführt werden in<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
%3</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The program tries again every minute and keeps the scans again once it can.</source>
        <translation>Das Programm versucht es jede Minute erneut und speichert die Abfragen wieder, sobald es kann.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The program runs without it.</source>
        <translation>Das Programm läuft ohne sie weiter.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The ring history is kept again in<byte value="xd"/>
%1<byte value="xd"/>
The ring history missed %2 %3 %4.</source>
        <translation>Die Ringhistorie wird wieder geführt in<byte value="xd"/>
%1<byte value="xd"/>
Der Ringhistorie fehlen %2 %3 %4.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>scan</source>
        <translation>Abfrage</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>scans</source>
        <translation>Abfragen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The clock reads %1, more than a day after the newest scan kept in the ring history in<byte value="xd"/>
%2<byte value="xd"/>
(%3).<byte value="xd"/>
The history keeps no scan until the clock has run on so for %4 minutes, and is never thinned by a time it did not keep.</source>
        <translation>Die Uhr zeigt %1, mehr als einen Tag nach der neuesten gespeicherten Abfrage der Ringhistorie in<byte value="xd"/>
%2<byte value="xd"/>
(%3).<byte value="xd"/>
Die Historie speichert keine Abfrage, bis die Uhr %4 Minuten so weitergelaufen ist, und wird nie nach einer Zeit ausgedünnt, die sie nicht gespeichert hat.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The ring history in<byte value="xd"/>
%1<byte value="xd"/>
holds a value that no scan can have; the program leaves it out and keeps the history:<byte value="xd"/>
%2.</source>
        <translation>Die Ringhistorie in<byte value="xd"/>
%1<byte value="xd"/>
enthält einen Wert, den keine Abfrage haben kann; das Programm lässt ihn aus und führt die Historie weiter:<byte value="xd"/>
%2.</translation>
    </message>
</context>
<context>
    <name>MetricsSetting</name>
    <message>
        <location filename="../core/MetricsSetting.cpp" line="+54"/>
        <source>%1=%2 in %3: not a TCP port (1 to 65535)</source>
        <translation>%1=%2 in %3: kein TCP-Port (1 bis 65535)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1_address=%2 in %3: not an IP address</source>
        <translation>%1_address=%2 in %3: keine IP-Adresse</translation>
    </message>
</context>
<context>
    <name>ModeByte</name>
    <message>
        <location filename="../model/ModeByte.cpp" line="+33"/>
        <source>even</source>
        <translation>gerade</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>odd</source>
        <translation>ungerade</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>none</source>
        <translation>keine</translation>
    </message>
</context>
<context>
    <name>ModuleDescription</name>
    <message>
        <location filename="../model/ModuleDescription.cpp" line="+23"/>
        <source>G (attached module)</source>
        <translation>G (angeschlossenes Modul)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>L (side L)</source>
        <translation>L (Seite L)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>R (side R)</source>
        <translation>R (Seite R)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>P (locate answer)</source>
        <translation>P (Antwort auf Ortung)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>no parity</source>
        <translation>keine Parität</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 parity</source>
        <translation>Parität %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Channel %1: %2, error counter %3</source>
        <translation>Kanal %1: %2, Fehlerzähler %3</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>No module has answered yet</source>
        <translation>Noch hat kein Modul geantwortet</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Module %1</source>
        <translation>Modul %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last reply: %1</source>
        <translation>Letzte Antwort: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Version: %1</source>
        <translation>Version: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mode: %1 (%2 baud, %3, %4, %5)</source>
        <translation>Modus: %1 (%2 Baud, %3, %4, %5)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>2 stop bits</source>
        <translation>2 Stoppbits</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>1 stop bit</source>
        <translation>1 Stoppbit</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Marked faulty: no answer to the last locate</source>
        <translation>Als gestört markiert: keine Antwort auf die letzte Ortung</translation>
    </message>
</context>
<context>
    <name>ModuleIDText</name>
    <message>
        <location filename="../model/ModuleIDText.cpp" line="+16"/>
        <source>A module ID is a whole decimal number, digits 0 to 9 only.</source>
        <translation>Eine Modul-ID ist eine ganze Dezimalzahl, nur Ziffern 0 bis 9.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>A module ID lies between 0 and 32000.</source>
        <translation>Eine Modul-ID liegt zwischen 0 und 32000.</translation>
    </message>
</context>
<context>
    <name>ModuleListModel</name>
    <message>
        <location filename="../model/ModuleListModel.cpp" line="+21"/>
        <source>Pos</source>
        <translation>Pos</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Side</source>
        <translation>Seite</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Baud</source>
        <translation>Baud</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Parity</source>
        <translation>Parität</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>even</source>
        <translation>gerade</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Error Relais</source>
        <translation>Fehlerrelais</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+2"/>
        <location line="+9"/>
        <source>faulty (no locate answer)</source>
        <translation>gestört (keine Antwort auf Ortung)</translation>
    </message>
    <message>
        <location line="-11"/>
        <source>CH1</source>
        <translation>CH1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CH1 Errors</source>
        <translation>CH1 Fehler</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CH2</source>
        <translation>CH2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CH2 Errors</source>
        <translation>CH2 Fehler</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Change</source>
        <translation>Änderung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last Reply</source>
        <translation>Letzte Antwort</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Verified</source>
        <translation>Geprüft</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>differs: mode 0x13, applied 0x4B</source>
        <translation>weicht ab: Modus 0x13, programmiert 0x4B</translation>
    </message>
    <message>
        <location line="+123"/>
        <source>applied, not yet read back</source>
        <translation>programmiert, noch nicht zurückgelesen</translation>
    </message>
</context>
<context>
    <name>ModulePicture</name>
    <message>
        <location filename="../ringview/ModulePicture.cpp" line="+34"/>
        <source>No module</source>
        <translation>Kein Modul</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Module %1</source>
        <translation>Modul %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1
Selected</source>
        <translation>%1
Ausgewählt</translation>
    </message>
</context>
<context>
    <name>ModuleTexts</name>
    <message>
        <location filename="../model/ModuleTexts.cpp" line="+19"/>
        <source>faulty</source>
        <translation>gestört</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>sound</source>
        <translation>in Ordnung</translation>
    </message>
</context>
<context>
    <name>PortStateText</name>
    <message>
        <location filename="../core/PortStateText.cpp" line="+13"/>
        <source>No COM port chosen: closed</source>
        <translation>Kein COM-Port gewählt: geschlossen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>open</source>
        <translation>offen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>in use by another program</source>
        <translation>von einem anderen Programm belegt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>not found</source>
        <translation>nicht gefunden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>could not be opened</source>
        <translation>konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>closed by the COM port dialog</source>
        <translation>vom COM-Port-Dialog geschlossen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>closed, the device vanished</source>
        <translation>geschlossen, das Gerät ist verschwunden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>closed, the device vanished; looking for it once a second</source>
        <translation>geschlossen, das Gerät ist verschwunden; es wird einmal je Sekunde gesucht</translation>
    </message>
</context>
<context>
    <name>ProgramConfig</name>
    <message>
        <location filename="../core/ProgramConfig.cpp" line="+44"/>
        <source>history_days=%1 in %2: not a number of days (1 to %3)</source>
        <translation>history_days=%1 in %2: keine Anzahl Tage (1 bis %3)</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>scan_interval=%1 in %2: not a number of seconds (0 to 86400)</source>
        <translation>scan_interval=%1 in %2: keine Anzahl Sekunden (0 bis 86400)</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1: no such configuration file</source>
        <translation>%1: keine solche Konfigurationsdatei</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>comport missing in %1: it names the port, 1 to 4</source>
        <translation>comport fehlt in %1: er nennt den Port, 1 bis 4</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>comport=%1 in %2: not a port number 1 to 4</source>
        <translation>comport=%1 in %2: keine Portnummer 1 bis 4</translation>
    </message>
</context>
<context>
    <name>ProgrammingPart</name>
    <message>
        <location filename="../app/RingReport.cpp" line="+59"/>
        <source>Programming record, last %1 days</source>
        <translation>Programmierprotokoll, letzte %1 Tage</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>No ring history is kept (the configuration&apos;s key &quot;history&quot;): the record covers this run only.</source>
        <translation>Es wird keine Ringhistorie geführt (Schlüssel &quot;history&quot; der Konfiguration): das Protokoll umfasst nur diesen Programmlauf.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No module was programmed or verified.</source>
        <translation>Kein Modul wurde programmiert oder geprüft.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1  %2 by %3 on %4, %5</source>
        <translation>%1  %2 von %3 auf %4, %5</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Programming</source>
        <translation>Programmierung</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Asked</source>
        <translation>Angefordert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Module ID</source>
        <translation>Modul-ID</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>E²PROM</source>
        <translation>E²PROM</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Frame</source>
        <translation>Telegramm</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Verified</source>
        <translation>Geprüft</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Module %1: %2</source>
        <translation>Modul %1: %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Module %1: %2 sent, %3, %4</source>
        <translation>Modul %1: %2 gesendet, %3, %4</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1; verified: %2</source>
        <translation>%1; geprüft: %2</translation>
    </message>
</context>
<context>
    <name>ProgrammingRecordModel</name>
    <message>
        <location filename="../app/ProgrammingRecordModel.cpp" line="+96"/>
        <source>Module %1</source>
        <translation>Modul %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 sent, %2</source>
        <translation>%1 gesendet, %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1; verified: %2</source>
        <translation>%1; geprüft: %2</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Programming</source>
        <translation>Programmierung</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Asked</source>
        <translation>Angefordert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
</context>
<context>
    <name>ProgrammingTexts</name>
    <message>
        <location filename="../model/ProgrammingRecord.cpp" line="+39"/>
        <source>Module State Apply</source>
        <translation>Übernehmen in Modulstatus</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Global Settings Apply</source>
        <translation>Übernehmen in Globale Einstellungen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Verify Settings</source>
        <translation>Einstellungen prüfen</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>rule %1</source>
        <translation>Regel %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 baud, parity %2, 2 stop bits, rule %3</source>
        <translation>%1 Baud, Parität %2, 2 Stoppbits, Regel %3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 baud, parity %2, 1 stop bit, rule %3</source>
        <translation>%1 Baud, Parität %2, 1 Stoppbit, Regel %3</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1, kept in E²PROM</source>
        <translation>%1, im E²PROM gespeichert</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1, not kept in E²PROM</source>
        <translation>%1, nicht im E²PROM gespeichert</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>COM%1</source>
        <translation>COM%1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>COM%1 (%2)</source>
        <translation>COM%1 (%2)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>taken by the port</source>
        <translation>vom Port angenommen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>refused by the port</source>
        <translation>vom Port abgewiesen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>not sent</source>
        <translation>nicht gesendet</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>%1 of %2 frames taken</source>
        <translation>%1 von %2 Telegrammen angenommen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>kept in E²PROM</source>
        <translation>im E²PROM gespeichert</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>not kept</source>
        <translation>nicht gespeichert</translation>
    </message>
</context>
<context>
    <name>ReferenceFile</name>
    <message>
        <location filename="../model/ReferenceFile.cpp" line="+74"/>
        <source>a row past position %1, the last a ring can have</source>
        <translation>eine Zeile nach Position %1, der letzten, die ein Ring haben kann</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 fields instead of 5 (position,id,side,version,mode)</source>
        <translation>%1 Felder statt 5 (position,id,side,version,mode)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>position %1 where %2 was due</source>
        <translation>Position %1, wo %2 fällig war</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ID %1 is not a number from 0 to %2</source>
        <translation>ID %1 ist keine Zahl von 0 bis %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>module %1 appears twice</source>
        <translation>Modul %1 kommt zweimal vor</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>side %1 is not G, L or R</source>
        <translation>Seite %1 ist nicht G, L oder R</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>side %1 at position 0, where the attached module (G) stands</source>
        <translation>Seite %1 an Position 0, wo das angeschlossene Modul (G) steht</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>side &quot;G&quot; at position %1: only position 0 is the attached module</source>
        <translation>Seite &quot;G&quot; an Position %1: nur Position 0 ist das angeschlossene Modul</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>version %1 is not one such as 4.1</source>
        <translation>Version %1 ist keine wie 4.1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>mode %1 is not a byte such as 0x13</source>
        <translation>Modus %1 ist kein Byte wie 0x13</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>it is a folder, not a file</source>
        <translation>es ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it is a FIFO, a device or a socket, not a regular file</source>
        <translation>es ist ein FIFO, ein Gerät oder ein Socket, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>the written file reads back as unreadable: %1</source>
        <translation>die geschriebene Datei ist beim Zurücklesen unlesbar: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the written file reads back with other modules</source>
        <translation>die geschriebene Datei enthält beim Zurücklesen andere Module</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>the header is not %1</source>
        <translation>die Kopfzeile ist nicht %1</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>the attached module (G), module %1, stands at position %2, not at 0</source>
        <translation>das angeschlossene Modul (G), Modul %1, steht an Position %2, nicht an 0</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the attached module did not answer this scan</source>
        <translation>das angeschlossene Modul hat auf diese Abfrage nicht geantwortet</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>module %1 at position %2: an ID is a number from 0 to %3</source>
        <translation>Modul %1 an Position %2: eine ID ist eine Zahl von 0 bis %3</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>module %1 answered twice, at positions %2 and %3</source>
        <translation>Modul %1 hat zweimal geantwortet, an den Positionen %2 und %3</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>module %1 at position %2 has no side G, L or R</source>
        <translation>Modul %1 an Position %2 hat keine Seite G, L oder R</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a second module answered G: module %1 at position %2</source>
        <translation>ein zweites Modul hat mit G geantwortet: Modul %1 an Position %2</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>the file has %1 bytes; a reference has at most %2</source>
        <translation>die Datei hat %1 Bytes; eine Referenz hat höchstens %2</translation>
    </message>
</context>
<context>
    <name>ReferenceRing</name>
    <message>
        <location filename="../core/ReferenceRing.cpp" line="+19"/>
        <source>Line %1: </source>
        <translation>Zeile %1: </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The reference ring cannot be read:<byte value="xd"/>
%1<byte value="xd"/>
%2%3<byte value="xd"/>
Scans are not compared with a reference.</source>
        <translation>Der Referenzring kann nicht gelesen werden:<byte value="xd"/>
%1<byte value="xd"/>
%2%3<byte value="xd"/>
Abfragen werden nicht mit einer Referenz verglichen.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 modules</source>
        <translation>%1 Module</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>unreadable</source>
        <translation>unlesbar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Replace the saved reference ring (%1, saved %2)?</source>
        <translation>Den gespeicherten Referenzring ersetzen (%1, gespeichert %2)?</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>This ring cannot be the reference: %1.<byte value="xd"/>
The reference is left as it was.</source>
        <translation>Dieser Ring kann nicht die Referenz sein: %1.<byte value="xd"/>
Die Referenz bleibt, wie sie war.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The reference ring cannot be written:<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Der Referenzring kann nicht geschrieben werden:<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>No reference ring</source>
        <translation>Kein Referenzring</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Reference unreadable: line %1</source>
        <translation>Referenz unlesbar: Zeile %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Reference unreadable</source>
        <translation>Referenz unlesbar</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Reference: %1 modules</source>
        <translation>Referenz: %1 Module</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Reference: %1 of %2 present</source>
        <translation>Referenz: %1 von %2 vorhanden</translation>
    </message>
</context>
<context>
    <name>RingCore</name>
    <message>
        <location filename="../core/RingCore.cpp" line="+234"/>
        <source>Verify Settings</source>
        <translation>Einstellungen prüfen</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>The metrics page cannot be served on %1: %2; trying again every %3 s</source>
        <translation>Die Metrikseite kann nicht auf %1 bereitgestellt werden: %2; neuer Versuch alle %3 s</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The metrics page is served on %1 now</source>
        <translation>Die Metrikseite wird jetzt auf %1 bereitgestellt</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>The Modbus registers cannot be served on %1: %2</source>
        <translation>Die Modbus-Register können nicht auf %1 bereitgestellt werden: %2</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>No scan has found modules yet: there is no ring to save as the reference.</source>
        <translation>Noch keine Abfrage hat Module gefunden: Es gibt keinen Ring, der als Referenz gespeichert werden kann.</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>1 new event</source>
        <translation>1 neues Ereignis</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 new events</source>
        <translation>%1 neue Ereignisse</translation>
    </message>
</context>
<context>
    <name>RingLog</name>
    <message>
        <location filename="../core/RingLog.cpp" line="+112"/>
        <source>The ring log cannot be written:<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Das Ringprotokoll kann nicht geschrieben werden:<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>RingReport</name>
    <message>
        <location filename="../app/RingReport.cpp" line="-70"/>
        <source>%1 baud, parity %2, 2 stop bits, rule %3</source>
        <translation>%1 Baud, Parität %2, 2 Stoppbits, Regel %3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 baud, parity %2, 1 stop bit, rule %3</source>
        <translation>%1 Baud, Parität %2, 1 Stoppbit, Regel %3</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>yyyy-MM-dd HH:mm:ss</source>
        <translation>dd.MM.yyyy HH:mm:ss</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>Date: %1</source>
        <translation>Datum: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Program: %1 %2</source>
        <translation>Programm: %1 %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Port: COM%1, device %2</source>
        <translation>Port: COM%1, Gerät %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scanned: %1</source>
        <translation>Abgefragt: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Modules: %1</source>
        <translation>Module: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Attached module: ID %1, %2</source>
        <translation>Angeschlossenes Modul: ID %1, %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Verify Settings: not run</source>
        <translation>Einstellungen prüfen: nicht ausgeführt</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Verify Settings of %1: %2</source>
        <translation>Einstellungen prüfen vom %1: %2</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>    Module %1: %2</source>
        <translation>    Modul %1: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>    and %1 more, see the table</source>
        <translation>    und %1 weitere, siehe Tabelle</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>    1 module applied after the check, no longer verified</source>
        <translation>    1 Modul nach der Prüfung programmiert, nicht mehr geprüft</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>    %1 modules applied after the check, no longer verified</source>
        <translation>    %1 Module nach der Prüfung programmiert, nicht mehr geprüft</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Reference ring: %1</source>
        <translation>Referenzring: %1</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Last 24 hours</source>
        <translation>Letzte 24 Stunden</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>No ring history is kept (the configuration&apos;s key &quot;history&quot;).</source>
        <translation>Es wird keine Ringhistorie geführt (Schlüssel „history“ der Konfiguration).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Largest error-counter increase</source>
        <translation>Größter Anstieg der Fehlerzähler</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Module ID</source>
        <translation>Modul-ID</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Increase</source>
        <translation>Anstieg</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Time faulty</source>
        <translation>Zeit gestört</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>No channel counted errors or was faulty.</source>
        <translation>Kein Kanal hat Fehler gezählt oder war gestört.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Share of the %1 scans each module answered</source>
        <translation>Anteil der %1 Abfragen, die jedes Modul beantwortet hat</translation>
    </message>
    <message>
        <location line="+33"/>
        <location line="+52"/>
        <source>ZEPHLINK9 Ring Report</source>
        <translation>ZEPHLINK9 Ringbericht</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>The report cannot be written:<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Der Bericht kann nicht geschrieben werden:<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>TrendChart</name>
    <message>
        <location filename="../app/TrendChart.cpp" line="+73"/>
        <source>Increase per interval</source>
        <translation>Anstieg je Intervall</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Channel 1 faulty</source>
        <translation>Kanal 1 gestört</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Channel 2 faulty</source>
        <translation>Kanal 2 gestört</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No answer</source>
        <translation>Keine Antwort</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1. Channel 1: increase %2, faulty %3. Channel 2: increase %4, faulty %5. No answer in %6 of %7 intervals.</source>
        <translation>%1. Kanal 1: Anstieg %2, gestört %3. Kanal 2: Anstieg %4, gestört %5. Keine Antwort in %6 von %7 Intervallen.</translation>
    </message>
</context>
<context>
    <name>TrendCharts</name>
    <message>
        <location filename="../app/TrendCharts.cpp" line="+33"/>
        <source>The chart cannot be shown: %1</source>
        <translation>Das Diagramm kann nicht angezeigt werden: %1</translation>
    </message>
</context>
<context>
    <name>Verification</name>
    <message>
        <location filename="../model/Verification.cpp" line="+13"/>
        <source>as applied</source>
        <translation>wie programmiert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>differs: mode %1, applied %2</source>
        <translation>weicht ab: Modus %1, programmiert %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no answer</source>
        <translation>keine Antwort</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>nothing applied</source>
        <translation>nichts programmiert</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>applied after the check</source>
        <translation>nach der Prüfung programmiert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>differs since %1</source>
        <translation>weicht ab seit %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 of %2 modules as applied, %3 differs, %4 no answer</source>
        <translation>%1 von %2 Modulen wie programmiert, %3 weichen ab, %4 ohne Antwort</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>, %1 nothing applied</source>
        <translation>, %1 nichts programmiert</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Verify Settings: %1</source>
        <translation>Einstellungen prüfen: %1</translation>
    </message>
</context>
<context>
    <name>WorstChannelsModel</name>
    <message>
        <location filename="../app/WorstChannelsModel.cpp" line="+41"/>
        <source>Module ID</source>
        <translation>Modul-ID</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Increase</source>
        <translation>Anstieg</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time faulty</source>
        <translation>Zeit gestört</translation>
    </message>
</context>
<context>
    <name>frmBackground</name>
    <message>
        <location filename="../ringview/frmBackground.cpp" line="+28"/>
        <source>Bus Info - Searching module... </source>
        <translation>Bus-Info - Suche Modul... </translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Bus Info</source>
        <translation>Bus-Info</translation>
    </message>
    <message>
        <location line="+297"/>
        <source>Error!</source>
        <translation>Fehler!</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Modul with ID %1 not answer!</source>
        <translation>Modul mit ID %1 antwortet nicht!</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Bus Info - Selected module not found!</source>
        <translation>Bus-Info - Ausgewähltes Modul nicht gefunden!</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Bus Info - module found!</source>
        <translation>Bus-Info - Modul gefunden!</translation>
    </message>
</context>
<context>
    <name>frmDebug</name>
    <message>
        <location filename="../app/frmDebug.cpp" line="+12"/>
        <source>Debug</source>
        <translation>Debug</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Received bytes</source>
        <translation>Empfangene Bytes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Clear debug output list</source>
        <translation>Debug-Ausgabe &amp;leeren</translation>
    </message>
</context>
<context>
    <name>frmEvents</name>
    <message>
        <location filename="../app/frmEvents.cpp" line="+16"/>
        <location line="+3"/>
        <source>Events</source>
        <translation>Ereignisse</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Acknowledge</source>
        <translation>Quittieren</translation>
    </message>
</context>
<context>
    <name>frmGlobalSettings</name>
    <message>
        <location filename="../dialogs/frmGlobalSettings.cpp" line="+51"/>
        <location line="+136"/>
        <source>Global Settings</source>
        <translation>Globale Einstellungen</translation>
    </message>
    <message>
        <location line="-128"/>
        <source>RS485 Baudrate:</source>
        <translation>RS485 Baud:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Parity</source>
        <translation>Parität</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>even</source>
        <translation>ger.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>odd</source>
        <translation>unger.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Stopbits:</source>
        <translation>Stoppbits:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Write to E²PROM</source>
        <translation>Ins E²PROM</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <location line="+76"/>
        <source>Programming modules...</source>
        <translation>Module werden programmiert...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Update modules...</source>
        <translation>Module werden aktualisiert...</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>The frame for module %1 could not be sent on %2.<byte value="xd"/>
%3 of %4 modules were programmed; the others were not sent anything.</source>
        <translation>Das Telegramm für Modul %1 konnte nicht auf %2 gesendet werden.<byte value="xd"/>
%3 von %4 Modulen wurden programmiert; an die übrigen wurde nichts gesendet.</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <location filename="../app/frmMain.cpp" line="+105"/>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Autorefresh</source>
        <translation>Automatisch aktualisieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Debug</source>
        <translation>Debug</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Select COM port</source>
        <translation>COM-Port wählen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Verify Settings</source>
        <translation>Einstellungen prüfen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save Report...</source>
        <translation>Bericht speichern...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Module List</source>
        <translation>Modulliste</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save as Reference</source>
        <translation>Als Referenz speichern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Events</source>
        <translation>Ereignisse</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Trends</source>
        <translation>Trends</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Programming Record</source>
        <translation>Programmierprotokoll</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+443"/>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <location line="-434"/>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;Ring</source>
        <translation>&amp;Ring</translation>
    </message>
    <message>
        <location line="+59"/>
        <source>Port state</source>
        <translation>Portzustand</translation>
    </message>
    <message>
        <location line="+368"/>
        <source>Sets up and watches ZEPHLINK9 fibre-optic rings.</source>
        <translation>Richtet ZEPHLINK9-LWL-Ringe ein und überwacht sie.</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+6"/>
        <location line="+41"/>
        <source>Save Report</source>
        <translation>Bericht speichern</translation>
    </message>
    <message>
        <location line="-46"/>
        <source>No modules: Refresh scans the ring first.</source>
        <translation>Keine Module: „Aktualisieren“ fragt zuerst den Ring ab.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>PDF report (*.pdf)</source>
        <translation>PDF-Bericht (*.pdf)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Module table (*.csv)</source>
        <translation>Modultabelle (*.csv)</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>No Modules found!</source>
        <translation>Keine Module gefunden!</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Warning!</source>
        <translation>Warnung!</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>LWL-System contains a none-ZEPHLINK9 module!<byte value="xd"/>
Please remove those modules and try again!</source>
        <translation>LWL-System enthält ein Modul, das kein ZEPHLINK9-Modul ist!<byte value="xd"/>
Bitte diese Module entfernen und erneut versuchen!</translation>
    </message>
</context>
<context>
    <name>frmModuleList</name>
    <message>
        <location filename="../ringview/frmModuleList.cpp" line="+30"/>
        <source>Find ID:</source>
        <translation>ID suchen:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Faults only</source>
        <translation>Nur Störungen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Modules</source>
        <translation>Module</translation>
    </message>
    <message>
        <location line="+53"/>
        <source>Module List - %1 of %2 shown</source>
        <translation>Modulliste - %1 von %2 angezeigt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Module List</source>
        <translation>Modulliste</translation>
    </message>
    <message>
        <location line="+70"/>
        <source>Module %1 is not in the ring</source>
        <translation>Modul %1 ist nicht im Ring</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Module %1 is not faulty: &quot;Faults only&quot; hides it</source>
        <translation>Modul %1 ist nicht gestört: „Nur Störungen“ blendet es aus</translation>
    </message>
</context>
<context>
    <name>frmModuleState</name>
    <message>
        <location filename="../dialogs/frmModuleState.cpp" line="+22"/>
        <source>Module State</source>
        <translation>Modulstatus</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Modul ID:</source>
        <translation>Modul-ID:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mode:</source>
        <translation>Modus:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Error Counter CH1:</source>
        <translation>Fehlerzähler CH1:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Error Counter CH2:</source>
        <translation>Fehlerzähler CH2:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Write to E²PROM</source>
        <translation>Ins E²PROM</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Not sent. %1</source>
        <translation>Nicht gesendet. %1</translation>
    </message>
</context>
<context>
    <name>frmProgramSettings</name>
    <message>
        <location filename="../dialogs/frmProgramSettings.cpp" line="+20"/>
        <source>Program settings</source>
        <translation>Programmeinstellungen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Select COM port</source>
        <translation>COM-Port wählen</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>COM%1 (in use)</source>
        <translation>COM%1 (belegt)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>COM%1 (not found)</source>
        <translation>COM%1 (nicht gefunden)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>No com port available!</source>
        <translation>Kein COM-Port verfügbar!</translation>
    </message>
</context>
<context>
    <name>frmProgrammingRecord</name>
    <message>
        <location filename="../app/frmProgrammingRecord.cpp" line="+19"/>
        <location line="+10"/>
        <source>Programming Record</source>
        <translation>Programmierprotokoll</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>Module &amp;ID:</source>
        <translation>Modul-&amp;ID:</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>No ring history is kept (the configuration&apos;s key &quot;history&quot;): this record lasts until the program ends.</source>
        <translation>Es wird keine Ringhistorie geführt (Schlüssel &quot;history&quot; der Konfiguration): dieses Protokoll gilt nur bis zum Programmende.</translation>
    </message>
</context>
<context>
    <name>frmProgress</name>
    <message>
        <location filename="../dialogs/frmProgress.cpp" line="+17"/>
        <source>Progress State</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%v of %m</source>
        <translation>%v von %m</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>frmTrends</name>
    <message>
        <location filename="../app/frmTrends.cpp" line="+34"/>
        <source>Last hour</source>
        <translation>Letzte Stunde</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last 24 hours</source>
        <translation>Letzte 24 Stunden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last 7 days</source>
        <translation>Letzte 7 Tage</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last 30 days</source>
        <translation>Letzte 30 Tage</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 h</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Trends</source>
        <translation>Trends</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Range:</source>
        <translation>&amp;Zeitraum:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Module:</source>
        <translation>&amp;Modul:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Chart</source>
        <translation>Diagramm</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Channels with the largest increase</source>
        <translation>Kanäle mit dem größten Anstieg</translation>
    </message>
    <message>
        <location line="+68"/>
        <source>The ring history is off: there is nothing to show.</source>
        <translation>Die Ringhistorie ist ausgeschaltet: Es gibt nichts anzuzeigen.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>No module</source>
        <translation>Kein Modul</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Module %1, %2, increase per %3</source>
        <translation>Modul %1, %2, Anstieg je %3</translation>
    </message>
</context>
</TS>
