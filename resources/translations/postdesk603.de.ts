<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>DBConn</name>
    <message>
        <source>The request was cancelled.</source>
        <translation>Die Anfrage wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The server closed the connection before the login was complete. Check that the server is running and that host and port name its administration service. (error %1)</source>
        <translation>Der Server hat die Verbindung vor dem Ende der Anmeldung geschlossen. Prüfen Sie, ob der Server läuft und ob Host und Port seinen Verwaltungsdienst bezeichnen. (Fehler %1)</translation>
    </message>
    <message>
        <source>Connection to the server was lost: the server closed the connection unexpectedly. Check that the server is still running, then reconnect. (error %1)</source>
        <translation>Die Verbindung zum Server ist verloren: Der Server hat die Verbindung unerwartet geschlossen. Prüfen Sie, ob der Server noch läuft, und verbinden Sie sich dann erneut. (Fehler %1)</translation>
    </message>
    <message>
        <source>The secure connection to the server failed (%1). Check that host and port name the server&apos;s administration service and that the server&apos;s certificate is valid. (error %2)</source>
        <translation>Die sichere Verbindung zum Server ist fehlgeschlagen (%1). Prüfen Sie, ob Host und Port den Verwaltungsdienst des Servers bezeichnen und ob das Zertifikat des Servers gültig ist. (Fehler %2)</translation>
    </message>
    <message>
        <source>The server&apos;s computer cannot be reached. Check the host name and the network connection. (error %1)</source>
        <translation>Der Rechner des Servers ist nicht erreichbar. Prüfen Sie den Hostnamen und die Netzwerkverbindung. (Fehler %1)</translation>
    </message>
    <message>
        <source>The host name could not be resolved at the moment. Check the name server settings or try again later. (error %1)</source>
        <translation>Der Hostname konnte im Moment nicht aufgelöst werden. Prüfen Sie die Einstellungen des Namensservers oder versuchen Sie es später erneut. (Fehler %1)</translation>
    </message>
    <message>
        <source>The host name could not be resolved. Check the host name and the name server settings. (error %1)</source>
        <translation>Der Hostname konnte nicht aufgelöst werden. Prüfen Sie den Hostnamen und die Einstellungen des Namensservers. (Fehler %1)</translation>
    </message>
    <message>
        <source>Connection has failed: %1. Check host and port, and that the server is running. (error %2)</source>
        <translation>Die Verbindung ist fehlgeschlagen: %1. Prüfen Sie Host und Port und ob der Server läuft. (Fehler %2)</translation>
    </message>
    <message>
        <source>Connection has failed. Check host and port, and that the server is running. (error %1)</source>
        <translation>Die Verbindung ist fehlgeschlagen. Prüfen Sie Host und Port und ob der Server läuft. (Fehler %1)</translation>
    </message>
    <message>
        <source>The server closed the connection during the secure handshake. Check that the port is the server&apos;s administration port. (error %1)</source>
        <translation>Der Server hat die Verbindung während des sicheren Verbindungsaufbaus geschlossen. Prüfen Sie, ob der Port der Verwaltungsport des Servers ist. (Fehler %1)</translation>
    </message>
    <message>
        <source>The secure connection to the server could not be established. Check that the port is the server&apos;s administration port and that the server&apos;s certificate is valid. (error %1)</source>
        <translation>Die sichere Verbindung zum Server konnte nicht aufgebaut werden. Prüfen Sie, ob der Port der Verwaltungsport des Servers ist und ob das Zertifikat des Servers gültig ist. (Fehler %1)</translation>
    </message>
    <message>
        <source>The secure connection to the server could not be established (%1). Check that the port is the server&apos;s administration port and that the server&apos;s certificate is valid. (error %2)</source>
        <translation>Die sichere Verbindung zum Server konnte nicht aufgebaut werden (%1). Prüfen Sie, ob der Port der Verwaltungsport des Servers ist und ob das Zertifikat des Servers gültig ist. (Fehler %2)</translation>
    </message>
    <message>
        <source>Server version has changed. Reconnection is not possible.</source>
        <translation>Die Serverversion hat sich geändert. Eine erneute Verbindung ist nicht möglich.</translation>
    </message>
    <message>
        <source>Remote computer not found.</source>
        <translation>Entfernter Rechner nicht gefunden.</translation>
    </message>
    <message>
        <source>Network is unreachable.</source>
        <translation>Das Netzwerk ist nicht erreichbar.</translation>
    </message>
    <message>
        <source>Connection to the server was lost.</source>
        <translation>Die Verbindung zum Server ist verloren.</translation>
    </message>
    <message>
        <source>Server application is not running.</source>
        <translation>Die Serveranwendung läuft nicht.</translation>
    </message>
    <message>
        <source>Connection to the server has been lost.</source>
        <translation>Die Verbindung zum Server wurde unterbrochen.</translation>
    </message>
    <message>
        <source>You have no rights to perform this action.</source>
        <translation>Sie haben keine Rechte für diese Aktion.</translation>
    </message>
    <message>
        <source>Query &apos;%1&apos; failed: function not found.</source>
        <translation>Abfrage &apos;%1&apos; fehlgeschlagen: Funktion nicht gefunden.</translation>
    </message>
    <message>
        <source>The identity of the server has changed. The certificate it presented is not the one recorded for it, so someone may be intercepting the connection. Trust the new certificate only after you have confirmed its fingerprint with the server&apos;s administrator.</source>
        <translation>Die Identität des Servers hat sich geändert. Das vorgelegte Zertifikat ist nicht das für ihn gespeicherte; möglicherweise fängt jemand die Verbindung ab. Vertrauen Sie dem neuen Zertifikat erst, wenn Sie seinen Fingerabdruck mit dem Administrator des Servers abgeglichen haben.</translation>
    </message>
    <message>
        <source>Unsupported version of server.</source>
        <translation>Nicht unterstützte Serverversion.</translation>
    </message>
    <message>
        <source>Too many connections.</source>
        <translation>Zu viele Verbindungen.</translation>
    </message>
    <message>
        <source>Authentication failed.</source>
        <translation>Anmeldung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>LDAP server is not available.</source>
        <translation>Der LDAP-Server ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>not specified error %1.</source>
        <translation>nicht näher bezeichneter Fehler %1.</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>The console has not connected to this server before. Compare the fingerprint of its certificate with the one the server&apos;s administrator gives you, and trust it only when they are the same.</source>
        <translation>Die Konsole war noch nie mit diesem Server verbunden. Vergleichen Sie den Fingerabdruck seines Zertifikats mit dem, den Ihnen der Administrator des Servers nennt, und vertrauen Sie ihm nur, wenn beide gleich sind.</translation>
    </message>
</context>
<context>
    <name>DBCtrl</name>
    <message>
        <source>You have no rights to modify this data!</source>
        <translation>Sie haben keine Rechte, diese Daten zu ändern!</translation>
    </message>
    <message>
        <source>Several operations pending</source>
        <translation>Mehrere Änderungen ausstehend</translation>
    </message>
    <message>
        <source>1 operation pending</source>
        <translation>1 Änderung ausstehend</translation>
    </message>
    <message>
        <source>%1 operations pending</source>
        <translation>%1 Änderungen ausstehend</translation>
    </message>
</context>
<context>
    <name>FAbout</name>
    <message>
        <source>&amp;Scroll</source>
        <translation>&amp;Rollen</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Anhalten</translation>
    </message>
</context>
<context>
    <name>FApplication</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>The Administration Console cannot be run on its own.</source>
        <translation>Die Verwaltungskonsole kann nicht allein gestartet werden.</translation>
    </message>
    <message>
        <source>Invalid name of host.</source>
        <translation>Ungültiger Hostname.</translation>
    </message>
</context>
<context>
    <name>FDlgConnect</name>
    <message>
        <source>&lt;nobr&gt;Do you trust the new certificate of the server?&lt;br&gt;Fingerprint: %1&lt;br&gt;&lt;br&gt;Answer Yes only if you have checked this fingerprint with the server&apos;s administrator.&lt;/nobr&gt;</source>
        <translation>&lt;nobr&gt;Vertrauen Sie dem neuen Zertifikat des Servers?&lt;br&gt;Fingerabdruck: %1&lt;br&gt;&lt;br&gt;Antworten Sie nur dann mit Ja, wenn Sie diesen Fingerabdruck mit dem Administrator des Servers abgeglichen haben.&lt;/nobr&gt;</translation>
    </message>
    <message>
        <source>Connection to server was lost!</source>
        <translation>Die Verbindung zum Server wurde getrennt!</translation>
    </message>
    <message>
        <source>Connection parameters</source>
        <translation>Verbindungsparameter</translation>
    </message>
    <message>
        <source>Server certificate has changed</source>
        <translation>Das Serverzertifikat hat sich geändert</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Reconnect</source>
        <translation>Neu verbinden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Host:</source>
        <translation>Host:</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Kennwort:</translation>
    </message>
    <message>
        <source>host or host:port</source>
        <translation>Host oder Host:Port</translation>
    </message>
    <message>
        <source>Connection failed</source>
        <translation>Verbindung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Apply &amp;&amp; Reconnect</source>
        <translation>Übernehmen &amp;&amp; neu verbinden</translation>
    </message>
    <message>
        <source>Recorded fingerprint:</source>
        <translation>Gespeicherter Fingerabdruck:</translation>
    </message>
    <message>
        <source>Presented fingerprint:</source>
        <translation>Vorgelegter Fingerabdruck:</translation>
    </message>
    <message>
        <source>Trust &amp;&amp; Reconnect</source>
        <translation>Vertrauen &amp;&amp; neu verbinden</translation>
    </message>
    <message>
        <source>Please enter the user name.</source>
        <translation>Bitte geben Sie den Benutzernamen ein.</translation>
    </message>
    <message>
        <source>Server not known yet</source>
        <translation>Server noch unbekannt</translation>
    </message>
    <message>
        <source>Trust &amp;&amp; Connect</source>
        <translation>Vertrauen &amp;&amp; verbinden</translation>
    </message>
</context>
<context>
    <name>FDlgNewConnection</name>
    <message>
        <source>New Connection</source>
        <translation>Neue Verbindung</translation>
    </message>
    <message>
        <source>host or host:port</source>
        <translation>Host oder Host:Port</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Kennwort</translation>
    </message>
    <message>
        <source>&amp;Server:</source>
        <translation>&amp;Server:</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>&amp;Benutzer:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Kennwort:</translation>
    </message>
    <message>
        <source>The new connection opens in a console window of its own.</source>
        <translation>Die neue Verbindung öffnet sich in einem eigenen Konsolenfenster.</translation>
    </message>
</context>
<context>
    <name>FHostPort</name>
    <message>
        <source>The port after the colon is missing. Enter a number from 1 to 65535, or leave out the colon.</source>
        <translation>Nach dem Doppelpunkt fehlt der Port. Geben Sie eine Zahl von 1 bis 65535 ein oder lassen Sie den Doppelpunkt weg.</translation>
    </message>
    <message>
        <source>The port &quot;%1&quot; is not valid. Enter a number from 1 to 65535.</source>
        <translation>Der Port &quot;%1&quot; ist ungültig. Geben Sie eine Zahl von 1 bis 65535 ein.</translation>
    </message>
    <message>
        <source>Please enter the host name of the server.</source>
        <translation>Bitte geben Sie den Hostnamen des Servers ein.</translation>
    </message>
    <message>
        <source>The host &quot;%1&quot; contains a space.</source>
        <translation>Der Host &quot;%1&quot; enthält ein Leerzeichen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an IPv6 address in brackets. Write it as [address] or [address]:port.</source>
        <translation>&quot;%1&quot; ist keine IPv6-Adresse in Klammern. Schreiben Sie sie als [Adresse] oder [Adresse]:Port.</translation>
    </message>
    <message>
        <source>Only a port may follow the IPv6 address, as in [address]:port.</source>
        <translation>Auf die IPv6-Adresse darf nur ein Port folgen, wie in [Adresse]:Port.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither a host name nor an IPv6 address. Write an IPv6 address with a port as [address]:port.</source>
        <translation>&quot;%1&quot; ist weder ein Hostname noch eine IPv6-Adresse. Schreiben Sie eine IPv6-Adresse mit Port als [Adresse]:Port.</translation>
    </message>
</context>
<context>
    <name>FMainTree</name>
    <message>
        <source>Navigation</source>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>Sections of the server</source>
        <translation>Bereiche des Servers</translation>
    </message>
</context>
<context>
    <name>FMainWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Reconnect</source>
        <translation>Neu verbinden</translation>
    </message>
    <message>
        <source>Try to re-establish connection to the current server.</source>
        <translation>Die Verbindung zum aktuellen Server wiederherstellen.</translation>
    </message>
    <message>
        <source>New Connection</source>
        <translation>Neue Verbindung</translation>
    </message>
    <message>
        <source>Connect to another bookmark.</source>
        <translation>Mit einem anderen Lesezeichen verbinden.</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Quit the application.</source>
        <translation>Die Anwendung beenden.</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Report Store Statistics...</source>
        <translation>Speicherstatistik melden...</translation>
    </message>
    <message>
        <source>Comment or Report Problems...</source>
        <translation>Kommentar oder Problem melden...</translation>
    </message>
    <message>
        <source>Comment or report problems with product.</source>
        <translation>Kommentare oder Probleme mit dem Produkt melden.</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <source>Administrator&apos;s Guide</source>
        <translation>Administratorhandbuch</translation>
    </message>
    <message>
        <source>Read the administrator&apos;s documentation.</source>
        <translation>Die Dokumentation für Administratoren lesen.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Laden...</translation>
    </message>
    <message>
        <source>The new connection cannot be handed to the launcher: %1</source>
        <translation>Die neue Verbindung kann nicht an das Startprogramm übergeben werden: %1</translation>
    </message>
    <message>
        <source>The Administrator&apos;s Guide is not installed. It is looked for in these folders:
%1</source>
        <translation>Das Administratorhandbuch ist nicht installiert. Es wird in diesen Ordnern gesucht:
%1</translation>
    </message>
</context>
<context>
    <name>FMainWindowEx</name>
    <message>
        <source>Loading...</source>
        <translation>Laden...</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Not Connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Not connected - </source>
        <translation>Nicht verbunden - </translation>
    </message>
    <message>
        <source>Connection failed: </source>
        <translation>Verbindung fehlgeschlagen: </translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Verbinden...</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>&lt;nobr&gt;You have modified data on this dialog.&lt;br&gt;Do you want to save changes?&lt;/nobr&gt;</source>
        <translation>&lt;nobr&gt;Sie haben Daten in diesem Dialog geändert.&lt;br&gt;Möchten Sie die Änderungen speichern?&lt;/nobr&gt;</translation>
    </message>
    <message>
        <source>&lt;nobr&gt;You have modified data on this view.&lt;br&gt;Do you want to save changes?&lt;/nobr&gt;</source>
        <translation>&lt;nobr&gt;Sie haben Daten in dieser Ansicht geändert.&lt;br&gt;Möchten Sie die Änderungen speichern?&lt;/nobr&gt;</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>FWidgetBottom</name>
    <message>
        <source>A&amp;pply</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>Re&amp;set</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
    <message>
        <source>Alt+P</source>
        <translation>Alt+B</translation>
    </message>
    <message>
        <source>Alt+S</source>
        <translation>Alt+Z</translation>
    </message>
    <message>
        <source>Apply changes</source>
        <translation>Änderungen übernehmen</translation>
    </message>
    <message>
        <source>Reset changes</source>
        <translation>Änderungen verwerfen</translation>
    </message>
</context>
<context>
    <name>FWidgetStatus</name>
    <message>
        <source>Section</source>
        <translation>Bereich</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Ready.</source>
        <translation>Bereit.</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Not Connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>(read only)</source>
        <translation>(nur lesen)</translation>
    </message>
</context>
<context>
    <name>FWidgetTop</name>
    <message>
        <source>Page header</source>
        <translation>Seitenkopf</translation>
    </message>
</context>
<context>
    <name>FWindow</name>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
</context>
<context>
    <name>MailApplication</name>
    <message>
        <source>Administration Console for Postvane</source>
        <translation>Verwaltungskonsole für Postvane</translation>
    </message>
    <message>
        <source>version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>&lt;p&gt;Postvane and Brantel are names of their makers.&lt;/p&gt;&lt;p&gt;This program uses the Qt toolkit (LGPL version 3), OpenSSL (Apache License 2.0) and SQLite (public domain) in its development server.&lt;/p&gt;&lt;p&gt;Pictures drawn for this console by its developers.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Postvane und Brantel sind Namen ihrer Hersteller.&lt;/p&gt;&lt;p&gt;Dieses Programm verwendet das Qt-Toolkit (LGPL Version 3), OpenSSL (Apache License 2.0) und SQLite (gemeinfrei) in seinem Entwicklungsserver.&lt;/p&gt;&lt;p&gt;Die Bilder wurden von den Entwicklern für diese Konsole gezeichnet.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>MailWindow</name>
    <message>
        <source>Information about %1.</source>
        <translation>Informationen über %1.</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>Services</source>
        <translation>Dienste</translation>
    </message>
    <message>
        <source>Domains</source>
        <translation>Domänen</translation>
    </message>
    <message>
        <source>SMTP Server</source>
        <translation>SMTP-Server</translation>
    </message>
    <message>
        <source>Content Filter</source>
        <translation>Inhaltsfilter</translation>
    </message>
    <message>
        <source>Spam Filter</source>
        <translation>Spamfilter</translation>
    </message>
    <message>
        <source>Antivirus</source>
        <translation>Virenschutz</translation>
    </message>
    <message>
        <source>Attachment Filter</source>
        <translation>Anhangfilter</translation>
    </message>
    <message>
        <source>Clustering</source>
        <translation>Clustering</translation>
    </message>
    <message>
        <source>Archiving</source>
        <translation>Archivierung</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Sicherung</translation>
    </message>
    <message>
        <source>Internet Connection</source>
        <translation>Internetverbindung</translation>
    </message>
    <message>
        <source>Scheduling</source>
        <translation>Zeitplanung</translation>
    </message>
    <message>
        <source>POP3 Download</source>
        <translation>POP3-Abruf</translation>
    </message>
    <message>
        <source>ETRN Download</source>
        <translation>ETRN-Abruf</translation>
    </message>
    <message>
        <source>Remote Administration</source>
        <translation>Fernverwaltung</translation>
    </message>
    <message>
        <source>SSL Certificates</source>
        <translation>SSL-Zertifikate</translation>
    </message>
    <message>
        <source>Advanced Options</source>
        <translation>Erweiterte Optionen</translation>
    </message>
    <message>
        <source>Fax Plugin</source>
        <translation>Fax-Plugin</translation>
    </message>
    <message>
        <source>Definitions</source>
        <translation>Definitionen</translation>
    </message>
    <message>
        <source>Time Ranges</source>
        <translation>Zeitbereiche</translation>
    </message>
    <message>
        <source>IP Address Groups</source>
        <translation>IP-Adressgruppen</translation>
    </message>
    <message>
        <source>User Templates</source>
        <translation>Benutzervorlagen</translation>
    </message>
    <message>
        <source>Domain Settings</source>
        <translation>Domäneneinstellungen</translation>
    </message>
    <message>
        <source>Users</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Gruppen</translation>
    </message>
    <message>
        <source>Aliases</source>
        <translation>Aliase</translation>
    </message>
    <message>
        <source>Mailing Lists</source>
        <translation>Mailinglisten</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Message Queue</source>
        <translation>Nachrichtenwarteschlange</translation>
    </message>
    <message>
        <source>Traffic Charts</source>
        <translation>Verkehrsdiagramme</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Active Connections</source>
        <translation>Aktive Verbindungen</translation>
    </message>
    <message>
        <source>Opened Folders</source>
        <translation>Geöffnete Ordner</translation>
    </message>
    <message>
        <source>Fax Plugin Calls</source>
        <translation>Fax-Plugin-Aufrufe</translation>
    </message>
    <message>
        <source>Xsan Cluster</source>
        <translation>Xsan-Cluster</translation>
    </message>
    <message>
        <source>Log %1 (debug)</source>
        <translation>Protokoll %1 (Debug)</translation>
    </message>
    <message>
        <source>Log %1</source>
        <translation>Protokoll %1</translation>
    </message>
    <message>
        <source>Logs</source>
        <translation>Protokolle</translation>
    </message>
    <message>
        <source>Log files.</source>
        <translation>Protokolldateien.</translation>
    </message>
    <message>
        <source>%1 file.</source>
        <translation>Datei %1.</translation>
    </message>
    <message>
        <source>Not connected.</source>
        <translation>Nicht verbunden.</translation>
    </message>
    <message>
        <source>Store statistics are not available in this version.</source>
        <translation>Die Speicherstatistik ist in dieser Version nicht verfügbar.</translation>
    </message>
</context>
<context>
    <name>ProductInfoWnd</name>
    <message>
        <source>Server version:</source>
        <translation>Serverversion:</translation>
    </message>
    <message>
        <source>Operating system:</source>
        <translation>Betriebssystem:</translation>
    </message>
    <message>
        <source>Server uptime:</source>
        <translation>Laufzeit des Servers:</translation>
    </message>
    <message>
        <source>Connected user:</source>
        <translation>Angemeldeter Benutzer:</translation>
    </message>
    <message>
        <source>Rights:</source>
        <translation>Rechte:</translation>
    </message>
    <message>
        <source>Free storage:</source>
        <translation>Freier Speicher:</translation>
    </message>
    <message>
        <source>Domains:</source>
        <translation>Domänen:</translation>
    </message>
    <message>
        <source>Users:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Laden...</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message numerus="yes">
        <source>%n day(s), %1</source>
        <translation>
            <numerusform>%n Tag, %1</numerusform>
            <numerusform>%n Tage, %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Windows</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>Linux</source>
        <translation>Linux</translation>
    </message>
    <message>
        <source>Mac OS X</source>
        <translation>Mac OS X</translation>
    </message>
    <message>
        <source>Unknown (code %1)</source>
        <translation>Unbekannt (Code %1)</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>nicht verbunden</translation>
    </message>
    <message>
        <source>not available</source>
        <translation>nicht verfügbar</translation>
    </message>
    <message>
        <source>Read and write</source>
        <translation>Lesen und schreiben</translation>
    </message>
    <message>
        <source>Read only</source>
        <translation>Nur lesen</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>UnavailableWnd</name>
    <message>
        <source>&lt;h3&gt;%1&lt;/h3&gt;&lt;p&gt;This section is not available in this version of the Administration Console.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;%1&lt;/h3&gt;&lt;p&gt;Dieser Bereich ist in dieser Version der Verwaltungskonsole nicht verfügbar.&lt;/p&gt;</translation>
    </message>
</context>
</TS>
