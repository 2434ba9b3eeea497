<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>Commands</name>
    <message>
        <source>Create a new portfolio</source>
        <translation>Ein neues Portfolio anlegen</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open an existing portfolio</source>
        <translation>Ein vorhandenes Portfolio öffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save the portfolio</source>
        <translation>Das Portfolio speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save the portfolio with a new name</source>
        <translation>Das Portfolio unter einem neuen Namen speichern</translation>
    </message>
    <message>
        <source>P&amp;rint preview</source>
        <translation>Druck&amp;vorschau</translation>
    </message>
    <message>
        <source>Show the printed report of the marked items</source>
        <translation>Den Druckbericht der markierten Wertpapiere anzeigen</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print the report of the marked items</source>
        <translation>Den Bericht der markierten Wertpapiere drucken</translation>
    </message>
    <message>
        <source>Prin&amp;t Setup...</source>
        <translation>Drucker&amp;einrichtung...</translation>
    </message>
    <message>
        <source>Choose the paper and its orientation</source>
        <translation>Papier und Ausrichtung wählen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quit the program</source>
        <translation>Das Programm beenden</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Take back the last change</source>
        <translation>Die letzte Änderung zurücknehmen</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Make the change taken back again</source>
        <translation>Die zurückgenommene Änderung erneut ausführen</translation>
    </message>
    <message>
        <source>&amp;Cut</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Move the marked items to the clipboard</source>
        <translation>Die markierten Wertpapiere in die Zwischenablage verschieben</translation>
    </message>
    <message>
        <source>C&amp;opy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy the marked items to the clipboard</source>
        <translation>Die markierten Wertpapiere in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Add the items on the clipboard</source>
        <translation>Die Wertpapiere aus der Zwischenablage hinzufügen</translation>
    </message>
    <message>
        <source>Compare all</source>
        <translation>Alle vergleichen</translation>
    </message>
    <message>
        <source>Mark all items and compare them in the chart</source>
        <translation>Alle Wertpapiere markieren und im Diagramm vergleichen</translation>
    </message>
    <message>
        <source>Comparison limits</source>
        <translation>Vergleichsgrenzen</translation>
    </message>
    <message>
        <source>Set comparison chart limits</source>
        <translation>Die Grenzen des Vergleichsdiagramms festlegen</translation>
    </message>
    <message>
        <source>&amp;Properties</source>
        <translation>&amp;Eigenschaften</translation>
    </message>
    <message>
        <source>Change how the item&apos;s chart looks</source>
        <translation>Das Aussehen des Kursdiagramms ändern</translation>
    </message>
    <message>
        <source>Show &amp;percentual values</source>
        <translation>&amp;Prozentuale Werte anzeigen</translation>
    </message>
    <message>
        <source>Show changes in percent or as differences</source>
        <translation>Änderungen in Prozent oder als Differenz anzeigen</translation>
    </message>
    <message>
        <source>&amp;Connection status</source>
        <translation>&amp;Verbindungsstatus</translation>
    </message>
    <message>
        <source>Show or hide the connection status window</source>
        <translation>Das Fenster mit dem Verbindungsstatus ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Source &amp;health</source>
        <translation>&amp;Zustand der Kursquellen</translation>
    </message>
    <message>
        <source>List each item&apos;s last successful download and failed updates</source>
        <translation>Den letzten erfolgreichen Abruf und die fehlgeschlagenen Aktualisierungen jedes Wertpapiers auflisten</translation>
    </message>
    <message>
        <source>S&amp;ave view options</source>
        <translation>Ansichts&amp;einstellungen speichern</translation>
    </message>
    <message>
        <source>Keep window placement, columns and sort order</source>
        <translation>Fensterposition, Spalten und Sortierung merken</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>Show the portfolio anew</source>
        <translation>Das Portfolio neu anzeigen</translation>
    </message>
    <message>
        <source>&amp;Totals</source>
        <translation>&amp;Summen</translation>
    </message>
    <message>
        <source>Show the totals of the portfolio</source>
        <translation>Die Summen des Portfolios anzeigen</translation>
    </message>
    <message>
        <source>Add a new item to the portfolio</source>
        <translation>Ein neues Wertpapier zum Portfolio hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Delete item</source>
        <translation>Wertpapier &amp;löschen</translation>
    </message>
    <message>
        <source>Delete the marked items</source>
        <translation>Die markierten Wertpapiere löschen</translation>
    </message>
    <message>
        <source>Change the item&apos;s settings</source>
        <translation>Die Einstellungen des Wertpapiers ändern</translation>
    </message>
    <message>
        <source>Show &amp;quotations</source>
        <translation>&amp;Kurse anzeigen</translation>
    </message>
    <message>
        <source>Show the item&apos;s quotations</source>
        <translation>Die Kurse des Wertpapiers anzeigen</translation>
    </message>
    <message>
        <source>&amp;Update quotation</source>
        <translation>Kurs &amp;aktualisieren</translation>
    </message>
    <message>
        <source>Download the quotations of the marked items</source>
        <translation>Die Kurse der markierten Wertpapiere abrufen</translation>
    </message>
    <message>
        <source>Update &amp;all quotations</source>
        <translation>Alle Kurse akt&amp;ualisieren</translation>
    </message>
    <message>
        <source>Download the quotations of all items</source>
        <translation>Die Kurse aller Wertpapiere abrufen</translation>
    </message>
    <message>
        <source>A&amp;bort downloads</source>
        <translation>&amp;Downloads abbrechen</translation>
    </message>
    <message>
        <source>Stop all running downloads</source>
        <translation>Alle laufenden Downloads anhalten</translation>
    </message>
    <message>
        <source>&amp;Manually update quotation</source>
        <translation>Kurs &amp;manuell eintragen</translation>
    </message>
    <message>
        <source>Enter a quotation for the item by hand</source>
        <translation>Einen Kurs für das Wertpapier von Hand eingeben</translation>
    </message>
    <message>
        <source>&amp;Test quotation &amp;update</source>
        <translation>Kursabruf &amp;testen</translation>
    </message>
    <message>
        <source>Download the item&apos;s quotation once and show it</source>
        <translation>Den Kurs des Wertpapiers einmal abrufen und anzeigen</translation>
    </message>
    <message>
        <source>&amp;Open web page</source>
        <translation>&amp;Webseite öffnen</translation>
    </message>
    <message>
        <source>Open the item&apos;s quotation page in the browser</source>
        <translation>Die Kursseite des Wertpapiers im Browser öffnen</translation>
    </message>
    <message>
        <source>&amp;Import Quotations...</source>
        <translation>Kurse &amp;importieren...</translation>
    </message>
    <message>
        <source>Import quotations of the item from a file or a web address</source>
        <translation>Kurse des Wertpapiers aus einer Datei oder von einer Webadresse importieren</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>E&amp;xportieren...</translation>
    </message>
    <message>
        <source>Export the quotations to a text or spreadsheet file</source>
        <translation>Die Kurse in eine Text- oder Tabellendatei exportieren</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Einstellungen...</translation>
    </message>
    <message>
        <source>Change the general options</source>
        <translation>Die allgemeinen Einstellungen ändern</translation>
    </message>
    <message>
        <source>&amp;Server configurations...</source>
        <translation>&amp;Serverkonfigurationen...</translation>
    </message>
    <message>
        <source>Make, change and delete server configurations</source>
        <translation>Serverkonfigurationen anlegen, ändern und löschen</translation>
    </message>
    <message>
        <source>Save all server configurations to a registry file</source>
        <translation>Alle Serverkonfigurationen in eine Registry-Datei speichern</translation>
    </message>
    <message>
        <source>&amp;Application web page</source>
        <translation>&amp;Webseite des Programms</translation>
    </message>
    <message>
        <source>Open the program&apos;s web page</source>
        <translation>Die Webseite des Programms öffnen</translation>
    </message>
    <message>
        <source>&amp;Check server configuration update availability...</source>
        <translation>Nach neuen Server&amp;konfigurationen suchen...</translation>
    </message>
    <message>
        <source>Look for newer server configurations on the program&apos;s web page</source>
        <translation>Auf der Webseite des Programms nach neueren Serverkonfigurationen suchen</translation>
    </message>
    <message>
        <source>&amp;Frequently Asked Questions (FAQ)</source>
        <translation>&amp;Häufig gestellte Fragen (FAQ)</translation>
    </message>
    <message>
        <source>Answers to frequently asked questions</source>
        <translation>Antworten auf häufig gestellte Fragen</translation>
    </message>
    <message>
        <source>Info about &amp;server configuration</source>
        <translation>Info über &amp;Serverkonfigurationen</translation>
    </message>
    <message>
        <source>How server configurations find quotations</source>
        <translation>Wie Serverkonfigurationen Kurse finden</translation>
    </message>
    <message>
        <source>Program information, version number and copyright</source>
        <translation>Programminformationen, Versionsnummer und Copyright</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Item</source>
        <translation>&amp;Wertpapier</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Properties...</source>
        <translation>&amp;Eigenschaften...</translation>
    </message>
    <message>
        <source>Se&amp;nd...</source>
        <translation>Per E-&amp;Mail senden...</translation>
    </message>
    <message>
        <source>Send the portfolio as a mail attachment</source>
        <translation>Das Portfolio als E-Mail-Anhang versenden</translation>
    </message>
    <message>
        <source>Chart &amp;legend</source>
        <translation>Diagrammle&amp;gende</translation>
    </message>
    <message>
        <source>Show the compared items&apos; names in their colours above the comparison chart</source>
        <translation>Die Namen der verglichenen Wertpapiere in ihren Farben über dem Vergleichsdiagramm anzeigen</translation>
    </message>
    <message>
        <source>Ne&amp;w</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>I&amp;nsert new item</source>
        <translation>&amp;Neues Wertpapier einfügen</translation>
    </message>
    <message>
        <source>Export server &amp;configuration...</source>
        <translation>Server&amp;konfiguration exportieren...</translation>
    </message>
    <message>
        <source>About &amp;Tarvelo...</source>
        <translation>Ü&amp;ber Tarvelo...</translation>
    </message>
</context>
<context>
    <name>DesktopShell</name>
    <message>
        <source>&amp;Copy file name</source>
        <translation>Dateinamen &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Copy address</source>
        <translation>Adresse &amp;kopieren</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>The opener %1 could not be started.</source>
        <translation>Das Öffnungsprogramm %1 konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The opener %1 ended with exit status %2.</source>
        <translation>Das Öffnungsprogramm %1 endete mit dem Exit-Status %2.</translation>
    </message>
    <message>
        <source>The opener %1 crashed.</source>
        <translation>Das Öffnungsprogramm %1 ist abgestürzt.</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>No program for this kind of address or file is installed.</source>
        <translation>Für diese Art von Adresse oder Datei ist kein Programm installiert.</translation>
    </message>
    <message>
        <source>The program chosen for it could not open it.</source>
        <translation>Das dafür gewählte Programm konnte sie nicht öffnen.</translation>
    </message>
</context>
<context>
    <name>ServerWizard</name>
    <message>
        <source>Server Configuration Wizard - [%1]</source>
        <translation>Assistent für Serverkonfigurationen - [%1]</translation>
    </message>
    <message>
        <source>&lt; Back</source>
        <translation>&lt; Zurück</translation>
    </message>
    <message>
        <source>Next     &gt;</source>
        <translation>Weiter     &gt;</translation>
    </message>
    <message>
        <source>Next &gt;</source>
        <translation>Weiter &gt;</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Quotation web page address:</source>
        <translation>Adresse der Kursseite:</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>If the quotation is shown inside a frame of the page, the address above must be the frame&apos;s own address: open the frame on its own in the browser (for example through its context menu, &quot;Open frame in new tab&quot;) and copy the address from there.</source>
        <translation>Wird der Kurs in einem Frame der Seite angezeigt, muss oben die eigene Adresse des Frames stehen: Öffnen Sie den Frame allein im Browser (zum Beispiel über sein Kontextmenü, „Frame in neuem Tab öffnen“) und kopieren Sie die Adresse von dort.</translation>
    </message>
    <message>
        <source>[&amp;name] = item&apos;s name (e.g. IBM),  [&amp;symbol] = item&apos;s symbol (e.g. 870747)
[&amp;d] = day (e.g. 09),  [&amp;dw] = day of the week (e.g. 01 for monday)
[&amp;m] = month (e.g. 07),  [&amp;mstr] = month short (e.g. jan),  [&amp;y] = year (e.g. 2003)</source>
        <translation>[&amp;name] = Name des Wertpapiers (z. B. IBM),  [&amp;symbol] = Symbol des Wertpapiers (z. B. 870747)
[&amp;d] = Tag (z. B. 09),  [&amp;dw] = Wochentag (z. B. 01 für Montag)
[&amp;m] = Monat (z. B. 07),  [&amp;mstr] = Monat kurz (z. B. jan),  [&amp;y] = Jahr (z. B. 2003)</translation>
    </message>
    <message>
        <source>Press next to download the web page</source>
        <translation>Klicken Sie auf Weiter, um die Webseite herunterzuladen</translation>
    </message>
    <message>
        <source>The file has been successfully downloaded, the web page is shown in the<byte value="xd"/>
web browser. If the page is ok, press next to go to the next step where<byte value="xd"/>
you can configure the quotation extraction rules.</source>
        <translation>Die Datei wurde erfolgreich heruntergeladen, die Webseite wird im<byte value="xd"/>
Browser angezeigt. Ist die Seite in Ordnung, klicken Sie auf Weiter, um im nächsten<byte value="xd"/>
Schritt die Regeln für das Auslesen des Kurses festzulegen.</translation>
    </message>
    <message>
        <source>Web page format convertion:</source>
        <translation>Umwandlung des Webseitenformats:</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>semi-html</source>
        <translation>Semi-HTML</translation>
    </message>
    <message>
        <source>text-only</source>
        <translation>nur Text</translation>
    </message>
    <message>
        <source>(standard = semi-html)</source>
        <translation>(Standard = Semi-HTML)</translation>
    </message>
    <message>
        <source>Quotation which is to be extracted from the web page:
(actual value shown on the web page in the browser, e.g. 22,65)</source>
        <translation>Kurs, der aus der Webseite ausgelesen werden soll:
(aktueller Wert, wie ihn die Webseite im Browser zeigt, z. B. 22,65)</translation>
    </message>
    <message>
        <source>Get &amp;Configuration</source>
        <translation>&amp;Konfiguration ermitteln</translation>
    </message>
    <message>
        <source>Quotation&apos;s thousands/decimal separator format:</source>
        <translation>Tausender- und Dezimaltrennzeichen des Kurses:</translation>
    </message>
    <message>
        <source>Select quotation extraction rule (related web page text will be highlighted):</source>
        <translation>Regel zum Auslesen des Kurses wählen (der zugehörige Text der Webseite wird hervorgehoben):</translation>
    </message>
    <message>
        <source>Could not allocate buffer!</source>
        <translation>Der Puffer konnte nicht angelegt werden!</translation>
    </message>
    <message>
        <source>Could not open file for reading!</source>
        <translation>Die Datei konnte nicht zum Lesen geöffnet werden!</translation>
    </message>
</context>
<context>
    <name>Strings</name>
    <message>
        <source>Save changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>About Tarvelo</source>
        <translation>Über Tarvelo</translation>
    </message>
    <message>
        <source>Tarvelo, Version 2.01</source>
        <translation>Tarvelo, Version 2.01</translation>
    </message>
    <message>
        <source>Installed server configuration version:</source>
        <translation>Installierte Version der Serverkonfigurationen:</translation>
    </message>
    <message>
        <source>Timer error!</source>
        <translation>Timer-Fehler!</translation>
    </message>
    <message>
        <source>%1 (End)</source>
        <translation>%1 (Ende)</translation>
    </message>
    <message>
        <source>%1 (1 Download)</source>
        <translation>%1 (1 Download)</translation>
    </message>
    <message>
        <source>%1 (%2 Downloads)</source>
        <translation>%1 (%2 Downloads)</translation>
    </message>
    <message>
        <source>Registry Files (*.reg)</source>
        <translation>Registry-Dateien (*.reg)</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Excel Files (*.xls);;Text Files (*.txt)</source>
        <translation>Excel-Dateien (*.xls);;Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>Die Netzwerkschnittstelle konnte nicht initialisiert werden.</translation>
    </message>
    <message>
        <source>Do you really want to delete the marked items?</source>
        <translation>Wollen Sie die markierten Wertpapiere wirklich löschen?</translation>
    </message>
    <message>
        <source>No items!</source>
        <translation>Keine Wertpapiere!</translation>
    </message>
    <message>
        <source>Clipboard could not be opened!</source>
        <translation>Die Zwischenablage konnte nicht geöffnet werden!</translation>
    </message>
    <message>
        <source>%1
No program could open this. Please open it by hand.</source>
        <translation>%1
Kein Programm konnte dies öffnen. Bitte öffnen Sie es von Hand.</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Properties for the comparison chart</source>
        <translation>Eigenschaften des Vergleichsdiagramms</translation>
    </message>
    <message>
        <source>Unable to load mail system support.</source>
        <translation>Die Unterstützung für das E-Mail-System konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>Mail system DLL is invalid.</source>
        <translation>Das E-Mail-Programm ist ungültig.</translation>
    </message>
    <message>
        <source>Send Mail failed to send message.</source>
        <translation>Die E-Mail konnte nicht gesendet werden.</translation>
    </message>
    <message>
        <source>The portfolio could not be written to a temporary file.</source>
        <translation>Das Portfolio konnte nicht in eine temporäre Datei geschrieben werden.</translation>
    </message>
    <message>
        <source>Import quotations for &quot;%1&quot;</source>
        <translation>Kurse importieren für „%1“</translation>
    </message>
    <message>
        <source>Quotations&apos; URL or
local file path:</source>
        <translation>URL der Kurse oder
lokaler Dateipfad:</translation>
    </message>
    <message>
        <source>Number format:</source>
        <translation>Zahlenformat:</translation>
    </message>
    <message>
        <source>Case insensitive search (don&apos;t differentiate small and capital letters)</source>
        <translation>Groß-/Kleinschreibung bei der Suche nicht beachten</translation>
    </message>
    <message>
        <source>Format template of one line:</source>
        <translation>Formatvorlage einer Zeile:</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Read file</source>
        <translation>Datei lesen</translation>
    </message>
    <message>
        <source>View file in Notepad</source>
        <translation>Datei im Editor anzeigen</translation>
    </message>
    <message>
        <source>The file has been successfully loaded. Press ok to import quotations.</source>
        <translation>Die Datei wurde erfolgreich geladen. Klicken Sie auf OK, um die Kurse zu importieren.</translation>
    </message>
    <message>
        <source>Importing quotations...</source>
        <translation>Kurse werden importiert...</translation>
    </message>
    <message>
        <source>Preview:</source>
        <translation>Vorschau:</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Read the file to see what it gives.</source>
        <translation>Lesen Sie die Datei, um zu sehen, was sie ergibt.</translation>
    </message>
    <message>
        <source>Reading the lines...</source>
        <translation>Die Zeilen werden gelesen...</translation>
    </message>
    <message>
        <source>Already in the history: not imported again</source>
        <translation>Schon im Kursverlauf: nicht erneut importiert</translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>The configuration of this item searches for its name; after renaming, updates will look for the new name.</source>
        <translation>Die Konfiguration dieses Wertpapiers sucht nach seinem Namen; nach dem Umbenennen suchen Aktualisierungen nach dem neuen Namen.</translation>
    </message>
    <message>
        <source>Import location</source>
        <translation>Importquelle</translation>
    </message>
    <message>
        <source>Local file</source>
        <translation>Lokale Datei</translation>
    </message>
    <message>
        <source>File path</source>
        <translation>Dateipfad</translation>
    </message>
    <message>
        <source>Internet download</source>
        <translation>Download aus dem Internet</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Bis:</translation>
    </message>
    <message>
        <source>URL template:</source>
        <translation>URL-Vorlage:</translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>Note: if you use yahoo&apos;s historical quotes server, you might need to change item&apos;s symbol from ISIN/WKN to ticker to get URL template working (e.g. 710000.F-&gt;DCXGn.F).</source>
        <translation>Hinweis: Wenn Sie den Server für historische Kurse von Yahoo verwenden, müssen Sie das Symbol des Wertpapiers eventuell von ISIN/WKN auf das Tickersymbol ändern, damit die URL-Vorlage funktioniert (z. B. 710000.F-&gt;DCXGn.F).</translation>
    </message>
</context>
<context>
    <name>tarvelo::AboutDialog</name>
    <message>
        <source>Tarvelo&apos;s home page</source>
        <translation>Startseite von Tarvelo</translation>
    </message>
</context>
<context>
    <name>tarvelo::BuyDialog</name>
    <message>
        <source>Buy</source>
        <translation>Kauf</translation>
    </message>
</context>
<context>
    <name>tarvelo::CatalogDialog</name>
    <message>
        <source>Add ready-made server configurations</source>
        <translation>Fertige Serverkonfigurationen hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>Configurations for public data whose format the publisher documents. Tick those to add; the publisher&apos;s terms apply.</source>
        <translation>Konfigurationen für öffentliche Daten, deren Format der Anbieter dokumentiert. Haken Sie die hinzuzufügenden an; es gelten die Bedingungen des Anbieters.</translation>
    </message>
    <message>
        <source>
History for Import Quotations (once the configuration is added, the import&apos;s address list offers this address, and choosing it fills in the line template):
Address: %1
Format: %2
</source>
        <translation>
Kursverlauf für „Kurse importieren“ (ist die Konfiguration hinzugefügt, bietet die Adressliste des Imports diese Adresse an, und ihre Wahl füllt die Zeilenvorlage aus):
Adresse: %1
Format: %2
</translation>
    </message>
</context>
<context>
    <name>tarvelo::ChartPage</name>
    <message>
        <source>Graphic</source>
        <translation>Grafik</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Nach</translation>
    </message>
    <message>
        <source>Until</source>
        <translation>Bis</translation>
    </message>
    <message>
        <source>Value on the Axes</source>
        <translation>Wert auf den Achsen</translation>
    </message>
    <message>
        <source>Percentual</source>
        <translation>Prozentual</translation>
    </message>
    <message>
        <source>Nominal</source>
        <translation>Nominal</translation>
    </message>
    <message>
        <source>Value on the graphic</source>
        <translation>Wert in der Grafik</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>Farbe:</translation>
    </message>
    <message>
        <source>Show grid</source>
        <translation>Gitternetz anzeigen</translation>
    </message>
</context>
<context>
    <name>tarvelo::ChartView</name>
    <message>
        <source>Chart</source>
        <translation>Diagramm</translation>
    </message>
    <message>
        <source>No item is marked: mark one in the list to see its history, or several to compare them.</source>
        <translation>Kein Wertpapier ist markiert: Markieren Sie eines in der Liste, um seinen Kursverlauf zu sehen, oder mehrere, um sie zu vergleichen.</translation>
    </message>
</context>
<context>
    <name>tarvelo::ComparisonLimitsDialog</name>
    <message>
        <source>After</source>
        <translation>Nach</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Vor</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Gitternetz</translation>
    </message>
</context>
<context>
    <name>tarvelo::ConnectionStatusWindow</name>
    <message>
        <source>Connections</source>
        <translation>Verbindungen</translation>
    </message>
    <message>
        <source>Thread</source>
        <translation>Thread</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Wertpapier</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Accept value</source>
        <translation>Wert übernehmen</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>&amp;Ausblenden</translation>
    </message>
    <message>
        <source>Download &amp;Abort</source>
        <translation>Download a&amp;bbrechen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Abort connections...</source>
        <translation>Verbindungen werden abgebrochen...</translation>
    </message>
</context>
<context>
    <name>tarvelo::DividendDialog</name>
    <message>
        <source>Dividends</source>
        <translation>Dividenden</translation>
    </message>
    <message>
        <source>Value:</source>
        <translation>Wert:</translation>
    </message>
</context>
<context>
    <name>tarvelo::DownloadHub</name>
    <message>
        <source>1 Quotation beeing updated</source>
        <translation>1 Kurs wird aktualisiert</translation>
    </message>
    <message>
        <source>%1 Quotations beeing updated</source>
        <translation>%1 Kurse werden aktualisiert</translation>
    </message>
    <message>
        <source>Quotation for &apos;%1&apos;:
Value: %2
Date/Time: %3
</source>
        <translation>Kurs für &apos;%1&apos;:
Wert: %2
Datum/Uhrzeit: %3
</translation>
    </message>
    <message>
        <source>Quotation for &apos;%1&apos; not found!
%2
</source>
        <translation>Kurs für &apos;%1&apos; nicht gefunden!
%2
</translation>
    </message>
    <message>
        <source>Download error:
Item: %1
URL: %2
%3</source>
        <translation>Downloadfehler:
Wertpapier: %1
URL: %2
%3</translation>
    </message>
    <message>
        <source> (HTTP status %1)</source>
        <translation> (HTTP-Status %1)</translation>
    </message>
    <message>
        <source>The download ended without a result.</source>
        <translation>Der Download endete ohne Ergebnis.</translation>
    </message>
</context>
<context>
    <name>tarvelo::GeneralOptionsDialog</name>
    <message>
        <source>General options</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>Maximal number of simultaneous downloads: </source>
        <translation>Höchstzahl gleichzeitiger Downloads: </translation>
    </message>
    <message>
        <source>Show download status automatically</source>
        <translation>Downloadstatus automatisch anzeigen</translation>
    </message>
    <message>
        <source>Show downloaded file if quotation not found</source>
        <translation>Heruntergeladene Datei anzeigen, wenn kein Kurs gefunden wird</translation>
    </message>
    <message>
        <source>Automatically update all items every</source>
        <translation>Alle Wertpapiere automatisch aktualisieren alle</translation>
    </message>
    <message>
        <source>Only between</source>
        <translation>Nur zwischen</translation>
    </message>
    <message>
        <source>On program exit</source>
        <translation>Beim Beenden des Programms</translation>
    </message>
    <message>
        <source>Save view options</source>
        <translation>Ansichtseinstellungen speichern</translation>
    </message>
    <message>
        <source>Save portfolio file</source>
        <translation>Portfoliodatei speichern</translation>
    </message>
    <message>
        <source>Web pages</source>
        <translation>Webseiten</translation>
    </message>
    <message>
        <source>Allow secure addresses (https)</source>
        <translation>Sichere Adressen erlauben (https)</translation>
    </message>
    <message>
        <source>User agent (empty: the program&apos;s own):</source>
        <translation>User-Agent (leer: der des Programms):</translation>
    </message>
    <message>
        <source>Some sites refuse programs they do not know; a browser&apos;s user agent may be set here</source>
        <translation>Manche Seiten weisen Programme ab, die sie nicht kennen; hier kann der User-Agent eines Browsers eingetragen werden</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>h.</source>
        <translation>Uhr</translation>
    </message>
</context>
<context>
    <name>tarvelo::GeneralPage</name>
    <message>
        <source>Memo</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Symbol / Ticker / ISIN:</source>
        <translation>Symbol / Ticker / ISIN:</translation>
    </message>
    <message>
        <source>Memo:</source>
        <translation>Notiz:</translation>
    </message>
    <message>
        <source>Quotation server configuration</source>
        <translation>Serverkonfiguration für Kurse</translation>
    </message>
    <message>
        <source>Wizard</source>
        <translation>Assistent</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Test quotation update</source>
        <translation>Kursabruf testen</translation>
    </message>
    <message>
        <source>Open web page</source>
        <translation>Webseite öffnen</translation>
    </message>
    <message>
        <source>The server properties for the server &apos;%s&apos;
 do not exist in this computer!</source>
        <translation>Die Servereigenschaften für den Server &apos;%s&apos;
 gibt es auf diesem Computer nicht!</translation>
    </message>
</context>
<context>
    <name>tarvelo::HelpViewer</name>
    <message>
        <source>Tarvelo Help</source>
        <translation>Tarvelo-Hilfe</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Startseite</translation>
    </message>
    <message>
        <source>&lt;h1&gt;Page not found&lt;/h1&gt;&lt;p&gt;The help page %1 is not installed.&lt;/p&gt;</source>
        <translation>&lt;h1&gt;Seite nicht gefunden&lt;/h1&gt;&lt;p&gt;Die Hilfeseite %1 ist nicht installiert.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>tarvelo::InvestmentPage</name>
    <message>
        <source>Item:</source>
        <translation>Wertpapier:</translation>
    </message>
    <message>
        <source>Quantity:</source>
        <translation>Anzahl:</translation>
    </message>
    <message>
        <source>Quotation:</source>
        <translation>Kurs:</translation>
    </message>
    <message>
        <source>Comission / Taxes:</source>
        <translation>Provision / Steuern:</translation>
    </message>
    <message>
        <source>Please enter a number.</source>
        <translation>Bitte geben Sie eine Zahl ein.</translation>
    </message>
    <message>
        <source>Investment</source>
        <translation>Investition</translation>
    </message>
    <message>
        <source>&amp;Buy</source>
        <translation>&amp;Kaufen</translation>
    </message>
    <message>
        <source>&amp;Sell</source>
        <translation>&amp;Verkaufen</translation>
    </message>
    <message>
        <source>&amp;Dividends</source>
        <translation>&amp;Dividenden</translation>
    </message>
    <message>
        <source>Quantity of items invested:</source>
        <translation>Anzahl investierter Stücke:</translation>
    </message>
    <message>
        <source>Average item&apos;s buy price:</source>
        <translation>Durchschnittlicher Kaufkurs:</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>whenever quotation below:</source>
        <translation>wenn der Kurs unter:</translation>
    </message>
    <message>
        <source>whenever quotation above:</source>
        <translation>wenn der Kurs über:</translation>
    </message>
    <message>
        <source>whenever quotation differs more than</source>
        <translation>wenn der Kurs um mehr als</translation>
    </message>
    <message>
        <source>% regarding the buy price.</source>
        <translation>% vom Kaufkurs abweicht.</translation>
    </message>
</context>
<context>
    <name>tarvelo::ItemCommands</name>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
</context>
<context>
    <name>tarvelo::ItemPropertiesDialog</name>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Quotations</source>
        <translation>Kurse</translation>
    </message>
    <message>
        <source>Graphic</source>
        <translation>Grafik</translation>
    </message>
    <message>
        <source>Investment</source>
        <translation>Investition</translation>
    </message>
    <message>
        <source>Porperties of </source>
        <translation>Eigenschaften von </translation>
    </message>
</context>
<context>
    <name>tarvelo::MainStatusBar</name>
    <message>
        <source>&amp;Status Bar</source>
        <translation>Status&amp;leiste</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Die Statusleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Portfolio totals</source>
        <translation>Portfoliosummen</translation>
    </message>
    <message>
        <source>Running updates</source>
        <translation>Laufende Aktualisierungen</translation>
    </message>
    <message>
        <source>Clock</source>
        <translation>Uhr</translation>
    </message>
</context>
<context>
    <name>tarvelo::MainWindow</name>
    <message>
        <source>Export server configuration</source>
        <translation>Serverkonfiguration exportieren</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
</context>
<context>
    <name>tarvelo::ManualQuotationDialog</name>
    <message>
        <source>Item quotation</source>
        <translation>Kurs des Wertpapiers</translation>
    </message>
    <message>
        <source>Item:</source>
        <translation>Wertpapier:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>Value:</source>
        <translation>Wert:</translation>
    </message>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation>Bitte geben Sie eine Zahl zwischen %1 und %2 ein.</translation>
    </message>
</context>
<context>
    <name>tarvelo::MemoDialog</name>
    <message>
        <source>Memo</source>
        <translation>Notiz</translation>
    </message>
</context>
<context>
    <name>tarvelo::NumberField</name>
    <message>
        <source>Up</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Runter</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
</context>
<context>
    <name>tarvelo::PeriodBox</name>
    <message>
        <source>Period to show</source>
        <translation>Angezeigter Zeitraum</translation>
    </message>
</context>
<context>
    <name>tarvelo::PortfolioFileController</name>
    <message>
        <source>Quotes</source>
        <translation>Kurse</translation>
    </message>
    <message>
        <source>Tarvelo Files (*.qvx)</source>
        <translation>Tarvelo-Dateien (*.qvx)</translation>
    </message>
    <message>
        <source>Recent &amp;Files</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Open this portfolio</source>
        <translation>Dieses Portfolio öffnen</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>

Remove the copy now?</source>
        <translation>

Die Kopie jetzt entfernen?</translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened here.

Merge adds the new items and quotations of this window to the file as it is now; other changes made here are dropped.
Overwrite replaces the file with the portfolio as this window shows it.</source>
        <translation>%1 wurde von einem anderen Programm geändert, seit es hier geöffnet wurde.

Zusammenführen fügt die neuen Wertpapiere und Kurse dieses Fensters der Datei in ihrem jetzigen Stand hinzu; andere hier gemachte Änderungen gehen verloren.
Überschreiben ersetzt die Datei durch das Portfolio, wie dieses Fenster es zeigt.</translation>
    </message>
    <message>
        <source>&amp;Merge</source>
        <translation>&amp;Zusammenführen</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Überschreiben</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
</context>
<context>
    <name>tarvelo::PortfolioListModel</name>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>The last update failed: %1
Failed updates since the last success: %2
Last success: %3</source>
        <translation>Die letzte Aktualisierung schlug fehl: %1
Fehlgeschlagene Aktualisierungen seit dem letzten Erfolg: %2
Letzter Erfolg: %3</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Wertpapier</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Tief</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>+- Last Day</source>
        <translation>+- Vortag</translation>
    </message>
    <message>
        <source>+- Last</source>
        <translation>+- Letzte</translation>
    </message>
    <message>
        <source>+- Total</source>
        <translation>+- Gesamt</translation>
    </message>
    <message>
        <source>Amount Invested</source>
        <translation>Investierter Betrag</translation>
    </message>
    <message>
        <source>Date of the latest quotation</source>
        <translation>Datum des letzten Kurses</translation>
    </message>
    <message>
        <source>Lowest value</source>
        <translation>Tiefster Wert</translation>
    </message>
    <message>
        <source>Highest value</source>
        <translation>Höchster Wert</translation>
    </message>
    <message>
        <source>Change since the last day</source>
        <translation>Änderung seit dem Vortag</translation>
    </message>
    <message>
        <source>Change since the previous quotation</source>
        <translation>Änderung seit dem vorigen Kurs</translation>
    </message>
    <message>
        <source>Change in total</source>
        <translation>Änderung insgesamt</translation>
    </message>
    <message>
        <source>Value of the holding</source>
        <translation>Wert des Bestands</translation>
    </message>
    <message>
        <source>Unchanged since the last day</source>
        <translation>Unverändert seit dem Vortag</translation>
    </message>
    <message>
        <source>Down since the last day</source>
        <translation>Gefallen seit dem Vortag</translation>
    </message>
    <message>
        <source>Up since the last day</source>
        <translation>Gestiegen seit dem Vortag</translation>
    </message>
    <message>
        <source>an alarm holds</source>
        <translation>ein Alarm liegt vor</translation>
    </message>
    <message>
        <source>the last update failed</source>
        <translation>die letzte Aktualisierung schlug fehl</translation>
    </message>
    <message>
        <source>the value found was held back</source>
        <translation>der gefundene Wert wurde zurückgehalten</translation>
    </message>
</context>
<context>
    <name>tarvelo::PortfolioListView</name>
    <message>
        <source>No items yet. Insert one with Item → Insert new item (Ins), or open a portfolio.</source>
        <translation>Noch keine Wertpapiere. Fügen Sie eines mit Wertpapier → Neues Wertpapier einfügen (Einfg) ein, oder öffnen Sie ein Portfolio.</translation>
    </message>
</context>
<context>
    <name>tarvelo::QuotationsPage</name>
    <message>
        <source>Quotations</source>
        <translation>Kurse</translation>
    </message>
    <message>
        <source>Item quotations</source>
        <translation>Kurse des Wertpapiers</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>Ä&amp;ndern</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete &amp;All</source>
        <translation>Alle lö&amp;schen</translation>
    </message>
    <message>
        <source>&amp;Split</source>
        <translation>S&amp;plit</translation>
    </message>
    <message>
        <source>&amp;1/X</source>
        <translation>&amp;1/X</translation>
    </message>
    <message>
        <source>Do you really want to delete all items?</source>
        <translation>Wollen Sie wirklich alle Einträge löschen?</translation>
    </message>
</context>
<context>
    <name>tarvelo::SaveConfigurationDialog</name>
    <message>
        <source>Server configuration</source>
        <translation>Serverkonfiguration</translation>
    </message>
    <message>
        <source>Save as:</source>
        <translation>Speichern unter:</translation>
    </message>
</context>
<context>
    <name>tarvelo::SellDialog</name>
    <message>
        <source>Sell</source>
        <translation>Verkauf</translation>
    </message>
</context>
<context>
    <name>tarvelo::ServerConfigurationsWindow</name>
    <message>
        <source>New server configuration</source>
        <translation>Neue Serverkonfiguration</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>This name stands for an item&apos;s own settings.</source>
        <translation>Dieser Name steht für die eigenen Einstellungen eines Wertpapiers.</translation>
    </message>
    <message>
        <source>A configuration of this name exists already; choose it in the list to edit it.</source>
        <translation>Eine Konfiguration dieses Namens gibt es schon; wählen Sie sie in der Liste, um sie zu bearbeiten.</translation>
    </message>
    <message>
        <source>Import server configurations</source>
        <translation>Serverkonfigurationen importieren</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Replace (stored with other values)</source>
        <translation>Ersetzen (mit anderen Werten gespeichert)</translation>
    </message>
    <message>
        <source>Unchanged (stored with the same values)</source>
        <translation>Unverändert (mit denselben Werten gespeichert)</translation>
    </message>
    <message>
        <source>The file %1 holds no server configuration.</source>
        <translation>Die Datei %1 enthält keine Serverkonfiguration.</translation>
    </message>
    <message>
        <source>Importing %1 does this to the stored server configurations:</source>
        <translation>Der Import von %1 ändert die gespeicherten Serverkonfigurationen so:</translation>
    </message>
    <message>
        <source>
OK replaces the configurations listed under &quot;Replace&quot;; items that use them then read the imported values.</source>
        <translation>
OK ersetzt die unter „Ersetzen“ aufgeführten Konfigurationen; Wertpapiere, die sie verwenden, lesen dann die importierten Werte.</translation>
    </message>
    <message>
        <source>Server configurations</source>
        <translation>Serverkonfigurationen</translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation>&amp;Neu...</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>&amp;Bearbeiten...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Wizard...</source>
        <translation>&amp;Assistent...</translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation>E&amp;xportieren...</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Importieren...</translation>
    </message>
    <message>
        <source>Add &amp;ready-made...</source>
        <translation>&amp;Fertige hinzufügen...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Item &amp;symbol:</source>
        <translation>&amp;Symbol des Wertpapiers:</translation>
    </message>
    <message>
        <source>The item&apos;s name and symbol fill the variables [&amp;name] and [&amp;symbol] for the test download, the web page and the wizard.</source>
        <translation>Name und Symbol des Wertpapiers füllen die Variablen [&amp;name] und [&amp;symbol] für den Testabruf, die Webseite und den Assistenten.</translation>
    </message>
    <message>
        <source>Stored server configurations:</source>
        <translation>Gespeicherte Serverkonfigurationen:</translation>
    </message>
    <message>
        <source>Delete the server configuration &quot;%1&quot;?
Items that use it then read the default settings.</source>
        <translation>Die Serverkonfiguration „%1“ löschen?
Wertpapiere, die sie verwenden, lesen dann die Standardeinstellungen.</translation>
    </message>
    <message>
        <source>Export server configurations</source>
        <translation>Serverkonfigurationen exportieren</translation>
    </message>
    <message>
        <source> Nothing was changed.</source>
        <translation> Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>These server configurations are stored already:
%1

Replace them with the ready-made ones? (No adds only the others.)</source>
        <translation>Diese Serverkonfigurationen sind schon gespeichert:
%1

Sollen sie durch die fertigen ersetzt werden? (Nein fügt nur die anderen hinzu.)</translation>
    </message>
    <message>
        <source>&amp;Empty settings</source>
        <translation>&amp;Leere Einstellungen</translation>
    </message>
    <message>
        <source>Build it with the &amp;wizard</source>
        <translation>Mit dem &amp;Assistenten erstellen</translation>
    </message>
    <message>
        <source>Start with:</source>
        <translation>Beginnen mit:</translation>
    </message>
    <message>
        <source>Item na&amp;me:</source>
        <translation>&amp;Wertpapiername:</translation>
    </message>
</context>
<context>
    <name>tarvelo::ServerSettingsDialog</name>
    <message>
        <source>Advanced &lt;&lt;</source>
        <translation>Erweitert &lt;&lt;</translation>
    </message>
    <message>
        <source>Advanced &gt;&gt;</source>
        <translation>Erweitert &gt;&gt;</translation>
    </message>
    <message>
        <source>Download URL:</source>
        <translation>Download-URL:</translation>
    </message>
    <message>
        <source>Web page download timeout</source>
        <translation>Zeitlimit für den Download der Webseite</translation>
    </message>
    <message>
        <source>Timeout:</source>
        <translation>Zeitlimit:</translation>
    </message>
    <message>
        <source>A downloaded value that moves more than this from the item&apos;s latest value is held back (0: no limit)</source>
        <translation>Ein abgerufener Wert, der um mehr als diesen Anteil vom letzten Wert des Wertpapiers abweicht, wird zurückgehalten (0: keine Grenze)</translation>
    </message>
    <message>
        <source>Hold back values that move more than</source>
        <translation>Werte zurückhalten, die abweichen um mehr als</translation>
    </message>
    <message>
        <source>The configuration tried for an item when this one finds no plausible value</source>
        <translation>Die Konfiguration, die für ein Wertpapier versucht wird, wenn diese keinen plausiblen Wert findet</translation>
    </message>
    <message>
        <source>Fallback:</source>
        <translation>Ersatz:</translation>
    </message>
    <message>
        <source>Up to 8 request headers, one &quot;Name: value&quot; a line, e.g. &quot;Accept: application/json&quot;; they replace the program&apos;s own of the same name</source>
        <translation>Bis zu 8 Anfrage-Header, je Zeile ein „Name: Wert“, z. B. „Accept: application/json“; sie ersetzen die gleichnamigen des Programms</translation>
    </message>
    <message>
        <source>Request headers:</source>
        <translation>Anfrage-Header:</translation>
    </message>
    <message>
        <source>Quotation extraction rules</source>
        <translation>Regeln zum Auslesen des Kurses</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keiner</translation>
    </message>
    <message>
        <source>Convert to semi-html (remove html tag contents, i.e. leave html tags empty &quot;&lt;&gt;&quot;)</source>
        <translation>In Semi-HTML umwandeln (Inhalt der HTML-Tags entfernen, d. h. leere HTML-Tags „&lt;&gt;“ lassen)</translation>
    </message>
    <message>
        <source>Convert to text-only (remove html tags completely)</source>
        <translation>In reinen Text umwandeln (HTML-Tags vollständig entfernen)</translation>
    </message>
    <message>
        <source>Thousands/decimal separator format:</source>
        <translation>Tausender- und Dezimaltrennzeichen:</translation>
    </message>
    <message>
        <source>Case insensitive search (don&apos;t differentiate small and capital letters)</source>
        <translation>Groß-/Kleinschreibung bei der Suche nicht beachten</translation>
    </message>
    <message>
        <source>Start searching for quotation after the following text:</source>
        <translation>Die Suche nach dem Kurs nach folgendem Text beginnen:</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringe</translation>
    </message>
    <message>
        <source>Standard Search</source>
        <translation>Standardsuche</translation>
    </message>
    <message>
        <source>Advanced Search</source>
        <translation>Erweiterte Suche</translation>
    </message>
    <message>
        <source>JSON path</source>
        <translation>JSON-Pfad</translation>
    </message>
    <message>
        <source>Reads the value from JSON data, the page itself or a script in it, by a path such as $.quote.last or $.rates.[&amp;symbol]</source>
        <translation>Liest den Wert aus JSON-Daten, der Seite selbst oder einem Skript darin, über einen Pfad wie $.quote.last oder $.rates.[&amp;symbol]</translation>
    </message>
    <message>
        <source>JSON paths (extended by QVX variables)</source>
        <translation>JSON-Pfade (erweitert um QVX-Variablen)</translation>
    </message>
    <message>
        <source>Value:</source>
        <translation>Wert:</translation>
    </message>
    <message>
        <source>Date (optional):</source>
        <translation>Datum (optional):</translation>
    </message>
    <message>
        <source>Time (optional):</source>
        <translation>Uhrzeit (optional):</translation>
    </message>
    <message>
        <source>Perl regular expression (extended by QVX variables)</source>
        <translation>Regulärer Ausdruck nach Perl (erweitert um QVX-Variablen)</translation>
    </message>
    <message>
        <source>Quotation match parentesis index:</source>
        <translation>Klammerindex des Kurses:</translation>
    </message>
    <message>
        <source>Extract quotation date</source>
        <translation>Kursdatum auslesen</translation>
    </message>
    <message>
        <source>Extract quotation time</source>
        <translation>Kurszeit auslesen</translation>
    </message>
    <message>
        <source>Day match index:</source>
        <translation>Index des Tages:</translation>
    </message>
    <message>
        <source>Month match index:</source>
        <translation>Index des Monats:</translation>
    </message>
    <message>
        <source>Year match index:</source>
        <translation>Index des Jahres:</translation>
    </message>
    <message>
        <source>Hour match index:</source>
        <translation>Index der Stunde:</translation>
    </message>
    <message>
        <source>Minute match index:</source>
        <translation>Index der Minute:</translation>
    </message>
    <message>
        <source>&amp;Test quotation update</source>
        <translation>Kursabruf &amp;testen</translation>
    </message>
    <message>
        <source>Save configuration &amp;As...</source>
        <translation>Konfiguration speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>   html tags and</source>
        <translation>   HTML-Tags und</translation>
    </message>
    <message>
        <source>numbers.</source>
        <translation>Zahlen.</translation>
    </message>
    <message>
        <source>Server properties - [%1]</source>
        <translation>Servereigenschaften - [%1]</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>The server configuration &apos;%1&apos; already exists.
Do you want to replace it?</source>
        <translation>Die Serverkonfiguration &apos;%1&apos; gibt es schon.
Wollen Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>URL address, e.g. http://quotes.example/quote.html?id=[&amp;symbol] or file://c:\temp\quotes.html</source>
        <translation>URL-Adresse, z. B. http://quotes.example/quote.html?id=[&amp;symbol] oder file://c:\temp\quotes.html</translation>
    </message>
</context>
<context>
    <name>tarvelo::SourceHealthWindow</name>
    <message>
        <source>Choose an item and press Diagnose to learn why its quotation is or is not found.</source>
        <translation>Wählen Sie ein Wertpapier und klicken Sie auf Untersuchen, um zu erfahren, warum sein Kurs gefunden wird oder nicht.</translation>
    </message>
    <message>
        <source>Source health</source>
        <translation>Zustand der Kursquellen</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Wertpapier</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>Last success</source>
        <translation>Letzter Erfolg</translation>
    </message>
    <message>
        <source>Failures</source>
        <translation>Fehlschläge</translation>
    </message>
    <message>
        <source>Last reason</source>
        <translation>Letzter Grund</translation>
    </message>
    <message>
        <source>&amp;Diagnose</source>
        <translation>&amp;Untersuchen</translation>
    </message>
    <message>
        <source>Fetch the selected item&apos;s page as an update would and explain what its search finds there</source>
        <translation>Die Seite des gewählten Wertpapiers wie bei einer Aktualisierung abrufen und erklären, was die Suche dort findet</translation>
    </message>
    <message>
        <source>Diagnosing %1...</source>
        <translation>%1 wird untersucht...</translation>
    </message>
    <message>
        <source>The diagnosis was stopped.</source>
        <translation>Die Untersuchung wurde abgebrochen.</translation>
    </message>
</context>
<context>
    <name>tarvelo::SplitDialog</name>
    <message>
        <source>Item Split</source>
        <translation>Split des Wertpapiers</translation>
    </message>
    <message>
        <source>Item:</source>
        <translation>Wertpapier:</translation>
    </message>
    <message>
        <source>Quotations until</source>
        <translation>Kurse bis</translation>
    </message>
    <message>
        <source>divide by</source>
        <translation>teilen durch</translation>
    </message>
</context>
<context>
    <name>tarvelo::UnattendedRun</name>
    <message>
        <source>Connection &amp;status...</source>
        <translation>&amp;Verbindungsstatus...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>1 item could not be updated</source>
        <translation>1 Wertpapier konnte nicht aktualisiert werden</translation>
    </message>
    <message>
        <source>%1 items could not be updated</source>
        <translation>%1 Wertpapiere konnten nicht aktualisiert werden</translation>
    </message>
</context>
<context>
    <name>tarvelo::UndoSteps</name>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>Insert item</source>
        <translation>Wertpapier einfügen</translation>
    </message>
    <message>
        <source>Delete item</source>
        <translation>Wertpapier löschen</translation>
    </message>
    <message>
        <source>Rename item</source>
        <translation>Wertpapier umbenennen</translation>
    </message>
    <message>
        <source>Edit item</source>
        <translation>Wertpapier bearbeiten</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Manual quotation</source>
        <translation>Manueller Kurs</translation>
    </message>
    <message>
        <source>Insert quotation</source>
        <translation>Kurs einfügen</translation>
    </message>
    <message>
        <source>Modify quotation</source>
        <translation>Kurs ändern</translation>
    </message>
    <message>
        <source>Delete quotation</source>
        <translation>Kurs löschen</translation>
    </message>
    <message>
        <source>Delete all quotations</source>
        <translation>Alle Kurse löschen</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>1/X</source>
        <translation>1/X</translation>
    </message>
    <message>
        <source>Import quotations</source>
        <translation>Kurse importieren</translation>
    </message>
    <message>
        <source>Update quotations</source>
        <translation>Kurse aktualisieren</translation>
    </message>
    <message>
        <source>Accept value</source>
        <translation>Wert übernehmen</translation>
    </message>
</context>
<context>
    <name>tarvelo::WizardDownloadPage</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>tarvelo::WizardRulePage</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
</TS>
