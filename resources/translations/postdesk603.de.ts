<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>FAbout</name>
    <message>
        <location filename="../../app/fabout.cpp" line="17"/>
        <location filename="../../app/fabout.cpp" line="43"/>
        <source>&amp;Scroll</source>
        <translation>&amp;Rollen</translation>
    </message>
    <message>
        <location filename="../../app/fabout.cpp" line="21"/>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <location filename="../../app/fabout.cpp" line="46"/>
        <source>&amp;Pause</source>
        <translation>&amp;Anhalten</translation>
    </message>
</context>
<context>
    <name>FApplication</name>
    <message>
        <location filename="../../app/fapplication.cpp" line="148"/>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <location filename="../../app/fapplication.cpp" line="163"/>
        <source>The Administration Console cannot be run on its own.</source>
        <translation>Die Verwaltungskonsole kann nicht allein gestartet werden.</translation>
    </message>
    <message>
        <location filename="../../app/fapplication.cpp" line="167"/>
        <source>Invalid name of host.</source>
        <translation>Ungültiger Hostname.</translation>
    </message>
</context>
<context>
    <name>FDlgConnect</name>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="42"/>
        <source>&lt;nobr&gt;Do you trust the new certificate of the server?&lt;br&gt;Fingerprint: %1&lt;br&gt;&lt;br&gt;Answer Yes only if you have checked this fingerprint with the server&apos;s administrator.&lt;/nobr&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="68"/>
        <source>Connection to server was lost!</source>
        <translation>Die Verbindung zum Server wurde getrennt!</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="69"/>
        <source>Connection parameters</source>
        <translation>Verbindungsparameter</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="70"/>
        <source>Server certificate has changed</source>
        <translation>Das Serverzertifikat hat sich geändert</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="74"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="75"/>
        <location filename="../../app/fdlgconnect.cpp" line="145"/>
        <source>Reconnect</source>
        <translation>Neu verbinden</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="76"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="108"/>
        <source>Host:</source>
        <translation>Host:</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="109"/>
        <source>Username:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="110"/>
        <source>Password:</source>
        <translation>Kennwort:</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="133"/>
        <source>host or host:port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="141"/>
        <source>Connection failed</source>
        <translation>Verbindung fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="147"/>
        <source>Apply &amp;&amp; Reconnect</source>
        <translation>Übernehmen &amp;&amp; neu verbinden</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="168"/>
        <source>Recorded fingerprint:</source>
        <translation>Gespeicherter Fingerabdruck:</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="169"/>
        <source>Presented fingerprint:</source>
        <translation>Vorgelegter Fingerabdruck:</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="170"/>
        <source>Trust &amp;&amp; Reconnect</source>
        <translation>Vertrauen &amp;&amp; neu verbinden</translation>
    </message>
    <message>
        <source>Please enter the host name of the server.</source>
        <translation type="vanished">Bitte geben Sie den Hostnamen des Servers ein.</translation>
    </message>
    <message>
        <location filename="../../app/fdlgconnect.cpp" line="249"/>
        <source>Please enter the user name.</source>
        <translation>Bitte geben Sie den Benutzernamen ein.</translation>
    </message>
</context>
<context>
    <name>FHostPort</name>
    <message>
        <location filename="../../app/fhostport.cpp" line="37"/>
        <source>The port after the colon is missing. Enter a number from 1 to 65535, or leave out the colon.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fhostport.cpp" line="41"/>
        <source>The port &quot;%1&quot; is not valid. Enter a number from 1 to 65535.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fhostport.cpp" line="56"/>
        <location filename="../../app/fhostport.cpp" line="95"/>
        <source>Please enter the host name of the server.</source>
        <translation type="unfinished">Bitte geben Sie den Hostnamen des Servers ein.</translation>
    </message>
    <message>
        <location filename="../../app/fhostport.cpp" line="58"/>
        <source>The host &quot;%1&quot; contains a space.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fhostport.cpp" line="65"/>
        <source>&quot;%1&quot; is not an IPv6 address in brackets. Write it as [address] or [address]:port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fhostport.cpp" line="75"/>
        <source>Only a port may follow the IPv6 address, as in [address]:port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fhostport.cpp" line="83"/>
        <source>&quot;%1&quot; is neither a host name nor an IPv6 address. Write an IPv6 address with a port as [address]:port.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FMainTree</name>
    <message>
        <location filename="../../app/fmaintree.cpp" line="19"/>
        <source>Navigation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fmaintree.cpp" line="20"/>
        <source>Sections of the server</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FMainWindow</name>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="33"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="35"/>
        <source>Reconnect</source>
        <translation>Neu verbinden</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="36"/>
        <source>Try to re-establish connection to the current server.</source>
        <translation>Die Verbindung zum aktuellen Server wiederherstellen.</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="37"/>
        <source>New Connection</source>
        <translation>Neue Verbindung</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="37"/>
        <source>Connect to another bookmark.</source>
        <translation>Mit einem anderen Lesezeichen verbinden.</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="39"/>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="42"/>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="42"/>
        <source>Quit the application.</source>
        <translation>Die Anwendung beenden.</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="43"/>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="45"/>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="47"/>
        <source>Report Store Statistics...</source>
        <translation>Speicherstatistik melden...</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="49"/>
        <source>Comment or Report Problems...</source>
        <translation>Kommentar oder Problem melden...</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="50"/>
        <source>Comment or report problems with product.</source>
        <translation>Kommentare oder Probleme mit dem Produkt melden.</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="51"/>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="52"/>
        <source>Administrator&apos;s Guide</source>
        <translation>Administratorhandbuch</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="53"/>
        <source>Read the administrator&apos;s documentation.</source>
        <translation>Die Dokumentation für Administratoren lesen.</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindow.cpp" line="56"/>
        <source>About</source>
        <translation>Über</translation>
    </message>
</context>
<context>
    <name>FMainWindowEx</name>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="65"/>
        <location filename="../../app/fmainwindowex.cpp" line="180"/>
        <source>Loading...</source>
        <translation>Laden...</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="67"/>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="67"/>
        <source>Not Connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="113"/>
        <source>Not connected - </source>
        <translation>Nicht verbunden - </translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="131"/>
        <source>Connection failed: </source>
        <translation>Verbindung fehlgeschlagen: </translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="142"/>
        <source>Connecting...</source>
        <translation>Verbinden...</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="148"/>
        <source>Connecting</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="203"/>
        <source>&lt;nobr&gt;You have modified data on this dialog.&lt;br&gt;Do you want to save changes?&lt;/nobr&gt;</source>
        <translation>&lt;nobr&gt;Sie haben Daten in diesem Dialog geändert.&lt;br&gt;Möchten Sie die Änderungen speichern?&lt;/nobr&gt;</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="205"/>
        <source>&lt;nobr&gt;You have modified data on this view.&lt;br&gt;Do you want to save changes?&lt;/nobr&gt;</source>
        <translation>&lt;nobr&gt;Sie haben Daten in dieser Ansicht geändert.&lt;br&gt;Möchten Sie die Änderungen speichern?&lt;/nobr&gt;</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="209"/>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="210"/>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <location filename="../../app/fmainwindowex.cpp" line="211"/>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>FWidgetBottom</name>
    <message>
        <location filename="../../app/fwidgetbottom.cpp" line="8"/>
        <source>A&amp;pply</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <location filename="../../app/fwidgetbottom.cpp" line="9"/>
        <source>Re&amp;set</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
    <message>
        <location filename="../../app/fwidgetbottom.cpp" line="14"/>
        <source>Alt+P</source>
        <translation>Alt+B</translation>
    </message>
    <message>
        <location filename="../../app/fwidgetbottom.cpp" line="15"/>
        <source>Alt+S</source>
        <translation>Alt+Z</translation>
    </message>
    <message>
        <location filename="../../app/fwidgetbottom.cpp" line="16"/>
        <source>Apply changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fwidgetbottom.cpp" line="17"/>
        <source>Reset changes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FWidgetStatus</name>
    <message>
        <location filename="../../app/fwidgetstatus.cpp" line="12"/>
        <source>Section</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fwidgetstatus.cpp" line="13"/>
        <source>Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fwidgetstatus.cpp" line="14"/>
        <source>User</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fwidgetstatus.cpp" line="15"/>
        <source>Status</source>
        <translation type="unfinished">Status</translation>
    </message>
    <message>
        <location filename="../../app/fwidgetstatus.cpp" line="17"/>
        <source>Ready.</source>
        <translation>Bereit.</translation>
    </message>
    <message>
        <location filename="../../app/fwidgetstatus.cpp" line="19"/>
        <location filename="../../app/fwidgetstatus.cpp" line="57"/>
        <source>Not connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fwidgetstatus.cpp" line="21"/>
        <source>Not Connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <location filename="../../app/fwidgetstatus.cpp" line="57"/>
        <source>Connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/fwidgetstatus.cpp" line="62"/>
        <source>(read only)</source>
        <translation>(nur lesen)</translation>
    </message>
</context>
<context>
    <name>FWidgetTop</name>
    <message>
        <location filename="../../app/fwidgettop.cpp" line="31"/>
        <source>Page header</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FWindow</name>
    <message>
        <location filename="../../app/fwindow.cpp" line="34"/>
        <source>Page</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MailApplication</name>
    <message>
        <location filename="../../app/mailapplication.cpp" line="80"/>
        <location filename="../../app/mailapplication.cpp" line="93"/>
        <source>Administration Console for Postvane</source>
        <translation>Verwaltungskonsole für Postvane</translation>
    </message>
    <message>
        <location filename="../../app/mailapplication.cpp" line="97"/>
        <source>version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <location filename="../../app/mailapplication.cpp" line="104"/>
        <source>&lt;p&gt;Postvane and Brantel are names of their makers.&lt;/p&gt;&lt;p&gt;This program uses the Qt toolkit (LGPL version 3), OpenSSL (Apache License 2.0) and SQLite (public domain) in its development server.&lt;/p&gt;&lt;p&gt;Pictures drawn for this console by its developers.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About...</source>
        <translation type="vanished">Über...</translation>
    </message>
    <message>
        <source>View information about %1.</source>
        <translation type="vanished">Informationen über %1 anzeigen.</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation type="vanished">Über %1</translation>
    </message>
    <message>
        <source>Incorrect version of Qt library.</source>
        <translation type="vanished">Falsche Version der Qt-Bibliothek.</translation>
    </message>
</context>
<context>
    <name>MailWindow</name>
    <message>
        <location filename="../../app/mailwindow.cpp" line="67"/>
        <source>Information about %1.</source>
        <translation>Informationen über %1.</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="69"/>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="71"/>
        <source>Services</source>
        <translation>Dienste</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="72"/>
        <source>Domains</source>
        <translation>Domänen</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="73"/>
        <source>SMTP Server</source>
        <translation>SMTP-Server</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="74"/>
        <source>Content Filter</source>
        <translation>Inhaltsfilter</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="76"/>
        <source>Spam Filter</source>
        <translation>Spamfilter</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="77"/>
        <source>Antivirus</source>
        <translation>Virenschutz</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="78"/>
        <source>Attachment Filter</source>
        <translation>Anhangfilter</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="82"/>
        <source>Clustering</source>
        <translation>Clustering</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="84"/>
        <source>Archiving</source>
        <translation>Archivierung</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="84"/>
        <source>Backup</source>
        <translation>Sicherung</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="86"/>
        <source>Internet Connection</source>
        <translation>Internetverbindung</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="88"/>
        <source>Scheduling</source>
        <translation>Zeitplanung</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="89"/>
        <source>POP3 Download</source>
        <translation>POP3-Abruf</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="91"/>
        <source>ETRN Download</source>
        <translation>ETRN-Abruf</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="93"/>
        <source>Remote Administration</source>
        <translation>Fernverwaltung</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="95"/>
        <source>SSL Certificates</source>
        <translation>SSL-Zertifikate</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="97"/>
        <source>Advanced Options</source>
        <translation>Erweiterte Optionen</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="99"/>
        <source>Fax Plugin</source>
        <translation>Fax-Plugin</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="101"/>
        <source>Definitions</source>
        <translation>Definitionen</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="103"/>
        <source>Time Ranges</source>
        <translation>Zeitbereiche</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="104"/>
        <source>IP Address Groups</source>
        <translation>IP-Adressgruppen</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="106"/>
        <source>User Templates</source>
        <translation>Benutzervorlagen</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="110"/>
        <source>Domain Settings</source>
        <translation>Domäneneinstellungen</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="112"/>
        <source>Users</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="113"/>
        <source>Groups</source>
        <translation>Gruppen</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="114"/>
        <source>Aliases</source>
        <translation>Aliase</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="115"/>
        <source>Mailing Lists</source>
        <translation>Mailinglisten</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="118"/>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="119"/>
        <source>Message Queue</source>
        <translation>Nachrichtenwarteschlange</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="121"/>
        <source>Traffic Charts</source>
        <translation>Verkehrsdiagramme</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="123"/>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="124"/>
        <source>Active Connections</source>
        <translation>Aktive Verbindungen</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="126"/>
        <source>Opened Folders</source>
        <translation>Geöffnete Ordner</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="128"/>
        <source>Fax Plugin Calls</source>
        <translation>Fax-Plugin-Aufrufe</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="130"/>
        <source>Xsan Cluster</source>
        <translation>Xsan-Cluster</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="203"/>
        <source>Log %1 (debug)</source>
        <translation>Protokoll %1 (Debug)</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="203"/>
        <source>Log %1</source>
        <translation>Protokoll %1</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="209"/>
        <source>Logs</source>
        <translation>Protokolle</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="210"/>
        <source>Log files.</source>
        <translation>Protokolldateien.</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="220"/>
        <source>%1 file.</source>
        <translation>Datei %1.</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="248"/>
        <source>Not connected.</source>
        <translation>Nicht verbunden.</translation>
    </message>
    <message>
        <location filename="../../app/mailwindow.cpp" line="333"/>
        <source>Store statistics are not available in this version.</source>
        <translation>Die Speicherstatistik ist in dieser Version nicht verfügbar.</translation>
    </message>
</context>
<context>
    <name>ProductInfoWnd</name>
    <message>
        <location filename="../../app/productinfownd.cpp" line="26"/>
        <source>Server version:</source>
        <translation>Serverversion:</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="27"/>
        <source>Operating system:</source>
        <translation>Betriebssystem:</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="28"/>
        <source>Server uptime:</source>
        <translation>Laufzeit des Servers:</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="29"/>
        <source>Connected user:</source>
        <translation>Angemeldeter Benutzer:</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="30"/>
        <source>Rights:</source>
        <translation>Rechte:</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="31"/>
        <source>Free storage:</source>
        <translation>Freier Speicher:</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="32"/>
        <source>Domains:</source>
        <translation>Domänen:</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="33"/>
        <source>Users:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="57"/>
        <source>Loading...</source>
        <translation>Laden...</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="73"/>
        <location filename="../../app/productinfownd.cpp" line="135"/>
        <location filename="../../app/productinfownd.cpp" line="146"/>
        <location filename="../../app/productinfownd.cpp" line="160"/>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message numerus="yes">
        <location filename="../../app/productinfownd.cpp" line="79"/>
        <source>%n day(s), %1</source>
        <translation>
            <numerusform>%n Tag, %1</numerusform>
            <numerusform>%n Tage, %1</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="85"/>
        <source>Windows</source>
        <translation>Windows</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="87"/>
        <source>Linux</source>
        <translation>Linux</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="89"/>
        <source>Mac OS X</source>
        <translation>Mac OS X</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="90"/>
        <source>Unknown (code %1)</source>
        <translation>Unbekannt (Code %1)</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="121"/>
        <source>not available</source>
        <translation>nicht verfügbar</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="128"/>
        <source>Read and write</source>
        <translation>Lesen und schreiben</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="128"/>
        <source>Read only</source>
        <translation>Nur lesen</translation>
    </message>
    <message>
        <location filename="../../app/productinfownd.cpp" line="143"/>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>UnavailableWnd</name>
    <message>
        <location filename="../../app/unavailablewnd.cpp" line="13"/>
        <source>&lt;h3&gt;%1&lt;/h3&gt;&lt;p&gt;This section is not available in this version of the Administration Console.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;%1&lt;/h3&gt;&lt;p&gt;Dieser Bereich ist in dieser Version der Verwaltungskonsole nicht verfügbar.&lt;/p&gt;</translation>
    </message>
</context>
</TS>
