<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Chart</name>
    <message>
        <source>%1 without values in this period</source>
        <translation>%1 ohne Werte in diesem Zeitraum</translation>
    </message>
    <message>
        <source>%1 change %2</source>
        <translation>%1 Veränderung %2</translation>
    </message>
    <message>
        <source>Comparison from %1 to %2: %3</source>
        <translation>Vergleich vom %1 bis %2: %3</translation>
    </message>
    <message>
        <source>History of %1, no quotations</source>
        <translation>Kursverlauf von %1, keine Kurse</translation>
    </message>
    <message>
        <source>History of %1 from %2 to %3, latest %4</source>
        <translation>Kursverlauf von %1 vom %2 bis %3, zuletzt %4</translation>
    </message>
    <message>
        <source>History of %1 from %2 to %3, latest %4, change %5</source>
        <translation>Kursverlauf von %1 vom %2 bis %3, zuletzt %4, Veränderung %5</translation>
    </message>
    <message>
        <source>Comparison</source>
        <translation>Vergleich</translation>
    </message>
</context>
<context>
    <name>Doctor</name>
    <message>
        <source>a number</source>
        <translation>eine Zahl</translation>
    </message>
    <message>
        <source>an invalid number</source>
        <translation>eine ungültige Zahl</translation>
    </message>
    <message>
        <source>no number</source>
        <translation>keine Zahl</translation>
    </message>
    <message>
        <source>HTTP %1</source>
        <translation>HTTP %1</translation>
    </message>
    <message>
        <source>HTTP %1 after %2 redirect</source>
        <translation>HTTP %1 nach %2 Weiterleitung</translation>
    </message>
    <message>
        <source>HTTP %1 after %2 redirects</source>
        <translation>HTTP %1 nach %2 Weiterleitungen</translation>
    </message>
    <message>
        <source>local file</source>
        <translation>lokale Datei</translation>
    </message>
    <message>
        <source>no HTTP answer</source>
        <translation>keine HTTP-Antwort</translation>
    </message>
    <message>
        <source>, %1 bytes</source>
        <translation>, %1 Bytes</translation>
    </message>
    <message>
        <source>none declared</source>
        <translation>keiner angegeben</translation>
    </message>
    <message>
        <source> (declared in the Content-Type header)</source>
        <translation> (angegeben in der Kopfzeile Content-Type)</translation>
    </message>
    <message>
        <source> (declared in a meta tag of the page)</source>
        <translation> (angegeben in einem Meta-Tag der Seite)</translation>
    </message>
    <message>
        <source>, converted from UTF-8 to Windows-1252</source>
        <translation>, von UTF-8 in Windows-1252 umgewandelt</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>nichts</translation>
    </message>
    <message>
        <source>found</source>
        <translation>gefunden</translation>
    </message>
    <message>
        <source>only in other letter case</source>
        <translation>nur in anderer Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>nicht gefunden</translation>
    </message>
    <message>
        <source>in the item&apos;s own server settings</source>
        <translation>in den eigenen Servereinstellungen des Wertpapiers</translation>
    </message>
    <message>
        <source>in the server configuration &quot;%1&quot;</source>
        <translation>in der Serverkonfiguration „%1“</translation>
    </message>
    <message>
        <source>Turn on case-insensitive search %1 (NoCaseSensitiv=1); the search would then read %2.</source>
        <translation>Schalten Sie %1 die Suche ohne Unterscheidung der Groß-/Kleinschreibung ein (NoCaseSensitiv=1); die Suche läse dann %2.</translation>
    </message>
    <message>
        <source>Turn on case-insensitive search %1 (NoCaseSensitiv=1).</source>
        <translation>Schalten Sie %1 die Suche ohne Unterscheidung der Groß-/Kleinschreibung ein (NoCaseSensitiv=1).</translation>
    </message>
    <message>
        <source>Skip one more tag %1: tags to skip %2 (Nr_HTML_before_Value); the search would then read %3.</source>
        <translation>Überspringen Sie %1 ein Tag mehr: zu überspringende Tags %2 (Nr_HTML_before_Value); die Suche läse dann %3.</translation>
    </message>
    <message>
        <source>Open the address in a browser and run: %1, with the VALUE the browser shows.</source>
        <translation>Öffnen Sie die Adresse in einem Browser und führen Sie aus: %1, mit dem Wert (VALUE), den der Browser zeigt.</translation>
    </message>
    <message>
        <source>Open the address in a browser; if it shows the quotation as %1, run: %2 (else put in the value it shows).</source>
        <translation>Öffnen Sie die Adresse in einem Browser; zeigt er den Kurs als %1, führen Sie aus: %2 (sonst setzen Sie den angezeigten Wert ein).</translation>
    </message>
    <message>
        <source>Allow https addresses: tarvelo-cli options set AllowHttps 1</source>
        <translation>Erlauben Sie https-Adressen: tarvelo-cli options set AllowHttps 1</translation>
    </message>
    <message>
        <source>Send a browser&apos;s user agent: tarvelo-cli options set UserAgent &quot;Mozilla/5.0 (X11; Linux x86_64)&quot;</source>
        <translation>Senden Sie den User-Agent eines Browsers: tarvelo-cli options set UserAgent &quot;Mozilla/5.0 (X11; Linux x86_64)&quot;</translation>
    </message>
    <message>
        <source>Check the address: open it in a browser, and correct it %1.</source>
        <translation>Prüfen Sie die Adresse: Öffnen Sie sie in einem Browser und korrigieren Sie sie %1.</translation>
    </message>
    <message>
        <source>Raise the timeout %1 (now %2 seconds).</source>
        <translation>Erhöhen Sie %1 das Zeitlimit (jetzt %2 Sekunden).</translation>
    </message>
    <message>
        <source>The certificate is not trusted: check that the address names the right server, or install the authority that signed the certificate.</source>
        <translation>Dem Zertifikat wird nicht vertraut: Prüfen Sie, ob die Adresse den richtigen Server nennt, oder installieren Sie die Zertifizierungsstelle, die das Zertifikat signiert hat.</translation>
    </message>
    <message>
        <source>Try again later; the server itself failed.</source>
        <translation>Versuchen Sie es später erneut; der Fehler liegt beim Server.</translation>
    </message>
    <message>
        <source>found %1</source>
        <translation>%1 gefunden</translation>
    </message>
    <message>
        <source>address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>headers sent</source>
        <translation>Kopfzeilen</translation>
    </message>
    <message>
        <source>answer</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>charset</source>
        <translation>Zeichensatz</translation>
    </message>
    <message>
        <source>conversion</source>
        <translation>Umwandlung</translation>
    </message>
    <message>
        <source>expression</source>
        <translation>Ausdruck</translation>
    </message>
    <message>
        <source>JSON path</source>
        <translation>JSON-Pfad</translation>
    </message>
    <message>
        <source>text before</source>
        <translation>Text davor</translation>
    </message>
    <message>
        <source>page there</source>
        <translation>Seite dort</translation>
    </message>
    <message>
        <source>page begins</source>
        <translation>Seitenanfang</translation>
    </message>
    <message>
        <source>latest value</source>
        <translation>Letzter Wert</translation>
    </message>
    <message>
        <source>nearest</source>
        <translation>Nächste Zahl</translation>
    </message>
    <message>
        <source>parser read</source>
        <translation>Gelesen</translation>
    </message>
    <message>
        <source>result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>cause</source>
        <translation>Ursache</translation>
    </message>
    <message>
        <source>try</source>
        <translation>Vorschlag</translation>
    </message>
    <message>
        <source>fallback</source>
        <translation>Ausweichquelle</translation>
    </message>
    <message>
        <source>%1: would update</source>
        <translation>%1: würde aktualisiert werden</translation>
    </message>
    <message>
        <source>%1: would not update</source>
        <translation>%1: würde nicht aktualisiert werden</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>%1 (values not shown)</source>
        <translation>%1 (Werte nicht angezeigt)</translation>
    </message>
    <message>
        <source>, any letter case</source>
        <translation>, beliebige Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>, exact letter case</source>
        <translation>, genaue Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>&quot;%1&quot; = %2 at %3: &quot;%4&quot;</source>
        <translation>„%1“ = %2 an Position %3: „%4“</translation>
    </message>
    <message>
        <source>An update tries the fallback configuration &quot;%1&quot; next; the doctor looks at &quot;%2&quot; only.</source>
        <translation>Eine Aktualisierung versucht als Nächstes die Ausweichkonfiguration „%1“; die Diagnose betrachtet nur „%2“.</translation>
    </message>
    <message>
        <source>The JSON search failed: %1.</source>
        <translation>Die JSON-Suche ist fehlgeschlagen: %1.</translation>
    </message>
    <message>
        <source>The text before value %1 occurs in the page only in other letter case (%2), and the search tells letter case apart.</source>
        <translation>Der Text vor dem Wert %1 kommt auf der Seite nur in anderer Groß-/Kleinschreibung vor (%2), und die Suche unterscheidet Groß- und Kleinschreibung.</translation>
    </message>
    <message>
        <source>The text before value %1 does not occur in the converted page.</source>
        <translation>Der Text vor dem Wert %1 kommt in der umgewandelten Seite nicht vor.</translation>
    </message>
    <message>
        <source>The regular expression does not match the converted page.</source>
        <translation>Der reguläre Ausdruck passt nicht auf die umgewandelte Seite.</translation>
    </message>
    <message>
        <source>The regular-expression search failed: %1</source>
        <translation>Die Suche mit dem regulären Ausdruck ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The regular expression matched, but its capture %1 holds no value that could be read.</source>
        <translation>Der reguläre Ausdruck passt, aber seine Gruppe %1 enthält keinen lesbaren Wert.</translation>
    </message>
    <message>
        <source>The regular expression matched, but its capture %1 holds no value that could be read (%2).</source>
        <translation>Der reguläre Ausdruck passt, aber seine Gruppe %1 enthält keinen lesbaren Wert (%2).</translation>
    </message>
    <message>
        <source>The text before value %1 was found, but no number follows it.</source>
        <translation>Der Text vor dem Wert %1 wurde gefunden, aber ihm folgt keine Zahl.</translation>
    </message>
    <message>
        <source>The text before value %1 was found, but no number follows it (%2).</source>
        <translation>Der Text vor dem Wert %1 wurde gefunden, aber ihm folgt keine Zahl (%2).</translation>
    </message>
    <message>
        <source>The text before value %1 was found; the number parser read %2 after it, which is not a valid number.</source>
        <translation>Der Text vor dem Wert %1 wurde gefunden; danach las die Zahlenerkennung %2, das keine gültige Zahl ist.</translation>
    </message>
    <message>
        <source>The text before value %1 was found, but a tag comes before any number after it.</source>
        <translation>Der Text vor dem Wert %1 wurde gefunden, aber danach kommt ein Tag vor jeder Zahl.</translation>
    </message>
    <message>
        <source>The text before value %1 was found, but the page ends before a number follows it.</source>
        <translation>Der Text vor dem Wert %1 wurde gefunden, aber die Seite endet, bevor eine Zahl folgt.</translation>
    </message>
    <message>
        <source>The text before value %1 was found, but no number stands where the search ended (%2).</source>
        <translation>Der Text vor dem Wert %1 wurde gefunden, aber wo die Suche endete, steht keine Zahl (%2).</translation>
    </message>
    <message>
        <source>The address is a secure (https) one, and those are not fetched while the option AllowHttps is 0.</source>
        <translation>Die Adresse ist eine sichere (https-)Adresse, und solche werden nicht abgerufen, solange die Option AllowHttps 0 ist.</translation>
    </message>
    <message>
        <source>The address is not one that can be fetched: it must begin with http://, https:// or file:// and name a server.</source>
        <translation>Die Adresse kann nicht abgerufen werden: Sie muss mit http://, https:// oder file:// beginnen und einen Server nennen.</translation>
    </message>
    <message>
        <source>There is no page at this address%1.</source>
        <translation>Unter dieser Adresse gibt es keine Seite%1.</translation>
    </message>
    <message>
        <source>The server refused the request%1; some servers refuse programs they do not know by their user agent.</source>
        <translation>Der Server hat die Anfrage abgelehnt%1; manche Server lehnen Programme ab, die sie an ihrem User-Agent nicht erkennen.</translation>
    </message>
    <message>
        <source>The server refused the request%1.</source>
        <translation>Der Server hat die Anfrage abgelehnt%1.</translation>
    </message>
    <message>
        <source>The server failed to answer%1.</source>
        <translation>Der Server konnte die Anfrage nicht beantworten%1.</translation>
    </message>
    <message>
        <source>The page did not arrive within the configuration&apos;s timeout of %1 seconds.</source>
        <translation>Die Seite kam nicht innerhalb des Zeitlimits der Konfiguration von %1 Sekunden an.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not trusted: %1</source>
        <translation>Dem Zertifikat des Servers wird nicht vertraut: %1</translation>
    </message>
    <message>
        <source>The download failed: %1</source>
        <translation>Der Download ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The download failed%1.</source>
        <translation>Der Download ist fehlgeschlagen%1.</translation>
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
        <source>text only</source>
        <translation>nur Text</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>The value %1 was found; an update would store it.</source>
        <translation>Der Wert %1 wurde gefunden; eine Aktualisierung würde ihn speichern.</translation>
    </message>
    <message>
        <source>The search ended without a value.</source>
        <translation>Die Suche endete ohne Wert.</translation>
    </message>
    <message>
        <source>The value %1 was found, but an update would hold it back: %2.</source>
        <translation>Der Wert %1 wurde gefunden, aber eine Aktualisierung würde ihn zurückhalten: %2.</translation>
    </message>
    <message>
        <source>The download was aborted.</source>
        <translation>Der Download wurde abgebrochen.</translation>
    </message>
    <message>
        <source>No answer came for this item.</source>
        <translation>Für dieses Wertpapier kam keine Antwort.</translation>
    </message>
</context>
<context>
    <name>Download</name>
    <message>
        <source>certificate not trusted for host %1: %2</source>
        <translation>Zertifikat für den Host %1 nicht vertrauenswürdig: %2</translation>
    </message>
    <message>
        <source>No temporary file could be created.</source>
        <translation>Es konnte keine temporäre Datei angelegt werden.</translation>
    </message>
    <message>
        <source>Error: Implausible value %1 (last %2)</source>
        <translation>Fehler: Unplausibler Wert %1 (zuletzt %2)</translation>
    </message>
    <message>
        <source>Error: Implausible value %1</source>
        <translation>Fehler: Unplausibler Wert %1</translation>
    </message>
    <message>
        <source>The item is no longer in the portfolio.</source>
        <translation>Das Wertpapier ist nicht mehr im Depot.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is being updated; its value can be accepted when the update is over.</source>
        <translation>„%1“ wird gerade aktualisiert; sein Wert kann übernommen werden, sobald die Aktualisierung beendet ist.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has no value held back by an update.</source>
        <translation>Für „%1“ hat keine Aktualisierung einen Wert zurückgehalten.</translation>
    </message>
    <message>
        <source>Initialized</source>
        <translation>Initialisiert</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Verbindung wird aufgebaut...</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Error: Quotation not found!!</source>
        <translation>Fehler: Kurs nicht gefunden!!</translation>
    </message>
    <message>
        <source>Error: Quotation not found!! (%1)</source>
        <translation>Fehler: Kurs nicht gefunden!! (%1)</translation>
    </message>
    <message>
        <source>Error: Invalid value!</source>
        <translation>Fehler: Ungültiger Wert!</translation>
    </message>
    <message>
        <source>Error: Text not found!</source>
        <translation>Fehler: Text nicht gefunden!</translation>
    </message>
    <message>
        <source>Download %1 KB</source>
        <translation>Download %1 KB</translation>
    </message>
    <message>
        <source>Download aborted!</source>
        <translation>Download abgebrochen!</translation>
    </message>
    <message>
        <source>Quotation found</source>
        <translation>Kurs gefunden</translation>
    </message>
    <message>
        <source>Error: Wrong URL!</source>
        <translation>Fehler: Falsche URL!</translation>
    </message>
    <message>
        <source>Error: File not found: %1</source>
        <translation>Fehler: Datei nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Error: Timeout!</source>
        <translation>Fehler: Zeitüberschreitung!</translation>
    </message>
    <message>
        <source>Error: Bad URL!</source>
        <translation>Fehler: Ungültige URL!</translation>
    </message>
    <message>
        <source>Error: Server!</source>
        <translation>Fehler: Server!</translation>
    </message>
    <message>
        <source>%1 (from %2)</source>
        <translation>%1 (von %2)</translation>
    </message>
    <message>
        <source>Error: Server! (HTTP status %1)</source>
        <translation>Fehler: Server! (HTTP-Status %1)</translation>
    </message>
    <message>
        <source>The server&apos;s answer has headers of more than 256 KB (or a header line of more than 100 KB); the page is not read.</source>
        <translation>Die Antwort des Servers hat Kopfzeilen von mehr als 256 KB (oder eine Kopfzeile von mehr als 100 KB); die Seite wird nicht gelesen.</translation>
    </message>
    <message>
        <source>The connection failed.</source>
        <translation>Die Verbindung ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The page could not be stored: %1</source>
        <translation>Die Seite konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The page redirects to %1, which is not an http or https address.</source>
        <translation>Die Seite leitet auf %1 weiter, das keine http- oder https-Adresse ist.</translation>
    </message>
    <message>
        <source>The secure page redirects to the insecure address %1, which is not followed.</source>
        <translation>Die sichere Seite leitet auf die unsichere Adresse %1 weiter; dieser Weiterleitung wird nicht gefolgt.</translation>
    </message>
    <message>
        <source>The page redirects to the secure address %1, but secure addresses are not allowed (option AllowHttps).</source>
        <translation>Die Seite leitet auf die sichere Adresse %1 weiter, sichere Adressen sind aber nicht erlaubt (Option AllowHttps).</translation>
    </message>
    <message>
        <source>The page redirects in a loop: %1 leads back to an address already visited.</source>
        <translation>Die Seite leitet im Kreis weiter: %1 führt zurück zu einer bereits besuchten Adresse.</translation>
    </message>
    <message>
        <source>The page redirects more than %1 times; the last address was %2.</source>
        <translation>Die Seite leitet öfter als %1-mal weiter; die letzte Adresse war %2.</translation>
    </message>
    <message>
        <source>The file %1 is not a regular file (a FIFO, device or socket) and is not read.</source>
        <translation>Die Datei %1 ist keine gewöhnliche Datei (sondern ein FIFO, ein Gerät oder ein Socket) und wird nicht gelesen.</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Die Datei %1 existiert nicht.</translation>
    </message>
    <message>
        <source>The file %1 may not be read.</source>
        <translation>Die Datei %1 darf nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read.</source>
        <translation>Die Datei %1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The internet library could not be started.</source>
        <translation>Die Internet-Bibliothek konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The page is larger than %1 bytes, the limit set by the option MaxPageSize.</source>
        <translation>Die Seite ist größer als %1 Bytes, die Grenze, die die Option MaxPageSize setzt.</translation>
    </message>
    <message>
        <source>The compressed page unpacks to more than %1 bytes; it was cut off there.</source>
        <translation>Die komprimierte Seite entpackt sich auf mehr als %1 Bytes; sie wurde dort abgeschnitten.</translation>
    </message>
</context>
<context>
    <name>File</name>
    <message>
        <source>%1 byte after the last item was passed over.</source>
        <translation>%1 Byte nach dem letzten Wertpapier wurde übergangen.</translation>
    </message>
    <message>
        <source>%1 bytes after the last item were passed over.</source>
        <translation>%1 Bytes nach dem letzten Wertpapier wurden übergangen.</translation>
    </message>
    <message>
        <source>File could not be saved (%1)</source>
        <translation>Die Datei konnte nicht gespeichert werden (%1)</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1.</source>
        <translation>Die Einstellungen konnten nicht in %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>Unexpected file format.</source>
        <translation>Unerwartetes Dateiformat.</translation>
    </message>
    <message>
        <source>%1
Cannot find this file.
Please verify that the correct path and file name are given.</source>
        <translation>%1
Diese Datei wurde nicht gefunden.
Bitte prüfen Sie, ob Pfad und Dateiname richtig angegeben sind.</translation>
    </message>
    <message>
        <source>Destination disk drive is full.</source>
        <translation>Das Ziellaufwerk ist voll.</translation>
    </message>
    <message>
        <source>Unable to read from %1, it is opened by someone else.</source>
        <translation>%1 kann nicht gelesen werden, die Datei ist von jemand anderem geöffnet.</translation>
    </message>
    <message>
        <source>Unable to write to %1, it is read-only or opened by someone else.</source>
        <translation>In %1 kann nicht geschrieben werden, die Datei ist schreibgeschützt oder von jemand anderem geöffnet.</translation>
    </message>
    <message>
        <source>Failed to open document.</source>
        <translation>Das Dokument konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Failed to save document.</source>
        <translation>Das Dokument konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message>
        <source>The spreadsheet file cannot hold the characters %1 of &quot;%2&quot;; please export to a text file instead.</source>
        <translation>Die Tabellendatei kann die Zeichen %1 von „%2“ nicht aufnehmen; bitte exportieren Sie stattdessen in eine Textdatei.</translation>
    </message>
    <message>
        <source>%1 quotations %2</source>
        <translation>%1 Kurse %2</translation>
    </message>
    <message>
        <source>, %1 already in the history</source>
        <translation>, %1 bereits im Kursverlauf</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>, %1 lines skipped (%2)</source>
        <translation>, %1 Zeilen übersprungen (%2)</translation>
    </message>
    <message>
        <source>, stopped at line %1: %2</source>
        <translation>, angehalten in Zeile %1: %2</translation>
    </message>
    <message>
        <source>Error importing quotations from file &quot;%1&quot;:
%2</source>
        <translation>Fehler beim Import der Kurse aus der Datei „%1“:
%2</translation>
    </message>
    <message>
        <source>imported</source>
        <translation>importiert</translation>
    </message>
    <message>
        <source>%1 quotation lies in the future (the latest %2)</source>
        <translation>%1 Kurs liegt in der Zukunft (der späteste %2)</translation>
    </message>
    <message>
        <source>%1 quotations lie in the future (the latest %2)</source>
        <translation>%1 Kurse liegen in der Zukunft (der späteste %2)</translation>
    </message>
    <message>
        <source>%1 lines matched: %2</source>
        <translation>%1 Zeilen erkannt: %2</translation>
    </message>
    <message>
        <source>to import</source>
        <translation>zu importieren</translation>
    </message>
    <message>
        <source>Dates from %1 to %2</source>
        <translation>Zeitraum vom %1 bis %2</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>%1 quotation is more than 100% away from the latest value %2 (%3)</source>
        <translation>%1 Kurs weicht um mehr als 100% vom letzten Wert %2 ab (%3)</translation>
    </message>
    <message>
        <source>%1 quotations are more than 100% away from the latest value %2 (%3)</source>
        <translation>%1 Kurse weichen um mehr als 100% vom letzten Wert %2 ab (%3)</translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>(already in the history)</source>
        <translation>(bereits im Kursverlauf)</translation>
    </message>
    <message>
        <source>Copy of %1</source>
        <translation>Kopie von %1</translation>
    </message>
    <message>
        <source>Clipboard data could not be read!</source>
        <translation>Die Daten der Zwischenablage konnten nicht gelesen werden!</translation>
    </message>
    <message>
        <source>The items on the clipboard are damaged or come from a newer version of the program. Nothing was pasted.</source>
        <translation>Die Wertpapiere in der Zwischenablage sind beschädigt oder stammen aus einer neueren Programmversion. Es wurde nichts eingefügt.</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>The user agent may be at most %1 characters long.</source>
        <translation>Der User-Agent darf höchstens %1 Zeichen lang sein.</translation>
    </message>
    <message>
        <source>The user agent may hold only printable ASCII characters.</source>
        <translation>Der User-Agent darf nur druckbare ASCII-Zeichen enthalten.</translation>
    </message>
</context>
<context>
    <name>Portfolio</name>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation>Bitte geben Sie eine Zahl zwischen %1 und %2 ein.</translation>
    </message>
    <message>
        <source>Financial result of the selling transaction: %1</source>
        <translation>Ergebnis des Verkaufs: %1</translation>
    </message>
    <message>
        <source>Please enter a positive integer.</source>
        <translation>Bitte geben Sie eine positive ganze Zahl ein.</translation>
    </message>
    <message>
        <source>A dividend cannot be booked while no units are held.</source>
        <translation>Eine Dividende kann nicht gebucht werden, solange keine Stücke im Bestand sind.</translation>
    </message>
    <message>
        <source>The transaction would leave a quantity, average buy price or result that is not a finite number.</source>
        <translation>Die Buchung ergäbe eine Stückzahl, einen durchschnittlichen Kaufkurs oder ein Ergebnis, das keine endliche Zahl ist.</translation>
    </message>
    <message>
        <source>%1 (%2 Days)</source>
        <translation>%1 (%2 Tage)</translation>
    </message>
    <message>
        <source>Amount invested: %1</source>
        <translation>Investierter Betrag: %1</translation>
    </message>
    <message>
        <source>Amount invested: %1 (Total: %2)</source>
        <translation>Investierter Betrag: %1 (Gesamt: %2)</translation>
    </message>
    <message>
        <source>Amount invested: %1 (Last: %2 Total: %3)</source>
        <translation>Investierter Betrag: %1 (Zuletzt: %2 Gesamt: %3)</translation>
    </message>
    <message>
        <source>%1: names and symbols longer than %2 characters, or memos longer than %3, were shortened to that length.</source>
        <translation>%1: Namen und Symbole mit mehr als %2 Zeichen sowie Notizen mit mehr als %3 Zeichen wurden auf diese Länge gekürzt.</translation>
    </message>
    <message>
        <source>The memo of the item &quot;%1&quot; is too long to be saved; shorten it to %2 characters.</source>
        <translation>Die Notiz des Wertpapiers „%1“ ist zu lang zum Speichern; kürzen Sie sie auf %2 Zeichen.</translation>
    </message>
    <message>
        <source>The symbol of the item &quot;%1&quot; is too long to be saved; shorten it to %2 characters.</source>
        <translation>Das Symbol des Wertpapiers „%1“ ist zu lang zum Speichern; kürzen Sie es auf %2 Zeichen.</translation>
    </message>
    <message>
        <source>The name of the item &quot;%1&quot; is too long to be saved; shorten it to %2 characters.</source>
        <translation>Der Name des Wertpapiers „%1“ ist zu lang zum Speichern; kürzen Sie ihn auf %2 Zeichen.</translation>
    </message>
    <message>
        <source>The lock file %1 is not ours; remove it if no other program uses the portfolio</source>
        <translation>Die Sperrdatei %1 stammt nicht von diesem Programm; löschen Sie sie, wenn kein anderes Programm das Depot verwendet</translation>
    </message>
    <message>
        <source>%1 is in use by another program; try again when it has finished.</source>
        <translation>%1 wird von einem anderen Programm verwendet; versuchen Sie es erneut, wenn es fertig ist.</translation>
    </message>
    <message>
        <source>%1 is in use by %2; try again when it has finished.</source>
        <translation>%1 wird von %2 verwendet; versuchen Sie es erneut, wenn es fertig ist.</translation>
    </message>
    <message>
        <source>%1 was damaged by a save that did not finish; it has been restored from %2, the copy that save had made.</source>
        <translation>%1 wurde durch ein nicht abgeschlossenes Speichern beschädigt; die Datei wurde aus %2 wiederhergestellt, der Kopie, die dieses Speichern angelegt hatte.</translation>
    </message>
    <message>
        <source>%1 is a copy of %2 made by a save that did not finish; it may hold the portfolio as it was.</source>
        <translation>%1 ist eine Kopie von %2, angelegt von einem nicht abgeschlossenen Speichern; sie enthält möglicherweise das Depot im vorherigen Zustand.</translation>
    </message>
    <message>
        <source>%1 is a copy of %2 left by a save that did not finish; the portfolio reads whole, so the copy is probably older. Remove it when it is no longer needed.</source>
        <translation>%1 ist eine Kopie von %2, die ein nicht abgeschlossenes Speichern hinterlassen hat; das Depot lässt sich vollständig lesen, die Kopie ist also wahrscheinlich älter. Löschen Sie sie, wenn sie nicht mehr gebraucht wird.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer in %2; its new quotations were not saved.</source>
        <translation>„%1“ ist nicht mehr in %2; seine neuen Kurse wurden nicht gespeichert.</translation>
    </message>
    <message>
        <source>The source health file %1 cannot be read.</source>
        <translation>Die Datei mit dem Quellenzustand %1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The source health file %1 is locked by another program.</source>
        <translation>Die Datei mit dem Quellenzustand %1 ist von einem anderen Programm gesperrt.</translation>
    </message>
    <message>
        <source>The source health file %1 cannot be written.</source>
        <translation>Die Datei mit dem Quellenzustand %1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
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
        <source>+- Last</source>
        <translation>+- Zuletzt</translation>
    </message>
    <message>
        <source>+- Total</source>
        <translation>+- Gesamt</translation>
    </message>
    <message>
        <source>Amount Invested</source>
        <translation>Investierter Betrag</translation>
    </message>
</context>
<context>
    <name>Search</name>
    <message>
        <source>Use the regular-expression settings (Advanced &gt;&gt; in the server settings) with the expression %1, quotation match index 1 and the number format &quot;%2&quot;.</source>
        <translation>Verwenden Sie die Einstellungen für reguläre Ausdrücke (die erweiterten Servereinstellungen) mit dem Ausdruck %1, dem Treffer-Index 1 für den Kurs und dem Zahlenformat „%2“.</translation>
    </message>
    <message>
        <source>Use the regular-expression settings (Advanced &gt;&gt; in the server settings) with an expression that matches the text just before the value.</source>
        <translation>Verwenden Sie die Einstellungen für reguläre Ausdrücke (die erweiterten Servereinstellungen) mit einem Ausdruck, der den Text direkt vor dem Wert findet.</translation>
    </message>
    <message>
        <source>The quotation %1 occurs only inside a script or JSON data (%2), where no rule of the standard search reads it.</source>
        <translation>Der Kurs %1 kommt nur in einem Skript oder in JSON-Daten vor (%2), wo ihn keine Regel der Standardsuche liest.</translation>
    </message>
    <message>
        <source>text-only</source>
        <translation>Nur-Text</translation>
    </message>
    <message>
        <source>semi-html</source>
        <translation>Semi-HTML</translation>
    </message>
    <message>
        <source>The quotation %1 is not a number the quotation search can read.</source>
        <translation>Der Kurs %1 ist keine Zahl, die die Kurssuche lesen kann.</translation>
    </message>
    <message>
        <source>Type the quotation as a number, as the browser shows it (e.g. 22,65).</source>
        <translation>Geben Sie den Kurs als Zahl ein, so wie der Browser ihn anzeigt (z. B. 22,65).</translation>
    </message>
    <message>
        <source>The quotation %1 occurs in the page only as a part of a longer number (%2).</source>
        <translation>Der Kurs %1 kommt auf der Seite nur als Teil einer längeren Zahl vor (%2).</translation>
    </message>
    <message>
        <source>Type the whole number as the page shows it: %1.</source>
        <translation>Geben Sie die ganze Zahl so ein, wie die Seite sie zeigt: %1.</translation>
    </message>
    <message>
        <source>The quotation %1 occurs in the page, but no rule of the standard search reads exactly this value there.</source>
        <translation>Der Kurs %1 kommt auf der Seite vor, aber keine Regel der Standardsuche liest dort genau diesen Wert.</translation>
    </message>
    <message>
        <source>The quotation %1 occurs in the page only in another letter case (%2).</source>
        <translation>Der Kurs %1 kommt auf der Seite nur in anderer Groß-/Kleinschreibung vor (%2).</translation>
    </message>
    <message>
        <source>Type it as the page writes it: %1.</source>
        <translation>Geben Sie ihn so ein, wie die Seite ihn schreibt: %1.</translation>
    </message>
    <message>
        <source>The quotation %1 does not occur in the page as typed; its value stands only inside a script or JSON data, as %2 (%3).</source>
        <translation>Der Kurs %1 kommt auf der Seite nicht so vor, wie er eingegeben wurde; sein Wert steht nur in einem Skript oder in JSON-Daten, als %2 (%3).</translation>
    </message>
    <message>
        <source>The quotation %1 (written %2) occurs only inside an html tag (%3), which the %4 conversion removes.</source>
        <translation>Der Kurs %1 (geschrieben %2) kommt nur innerhalb eines HTML-Tags vor (%3), das die Umwandlung %4 entfernt.</translation>
    </message>
    <message>
        <source>The quotation %1 occurs only inside an html tag (%2), which the %3 conversion removes.</source>
        <translation>Der Kurs %1 kommt nur innerhalb eines HTML-Tags vor (%2), das die Umwandlung %3 entfernt.</translation>
    </message>
    <message>
        <source>Choose the conversion &quot;none&quot;, which keeps the tags, or use the regular-expression settings.</source>
        <translation>Wählen Sie die Umwandlung „keine“, die die Tags behält, oder verwenden Sie die Einstellungen für reguläre Ausdrücke.</translation>
    </message>
    <message>
        <source>The quotation %1 does not occur in the page as typed; the page writes the value as %2.</source>
        <translation>Der Kurs %1 kommt auf der Seite nicht so vor, wie er eingegeben wurde; die Seite schreibt den Wert als %2.</translation>
    </message>
    <message>
        <source>Type the quotation as the page writes it: %1.</source>
        <translation>Geben Sie den Kurs so ein, wie die Seite ihn schreibt: %1.</translation>
    </message>
    <message>
        <source>The quotation %1 does not occur in the page.</source>
        <translation>Der Kurs %1 kommt auf der Seite nicht vor.</translation>
    </message>
    <message>
        <source>Check that this is the page the browser shows the quotation in (a frame or a script may load it from another address), or use the regular-expression settings.</source>
        <translation>Prüfen Sie, ob dies die Seite ist, auf der der Browser den Kurs anzeigt (ein Frame oder ein Skript kann ihn von einer anderen Adresse laden), oder verwenden Sie die Einstellungen für reguläre Ausdrücke.</translation>
    </message>
    <message>
        <source>the quoted key at %1 does not end</source>
        <translation>der Schlüssel in Anführungszeichen an Position %1 endet nicht</translation>
    </message>
    <message>
        <source>expected a number or a quoted key after the &quot;[&quot; at %1</source>
        <translation>nach dem „[“ an Position %1 wird eine Zahl oder ein Schlüssel in Anführungszeichen erwartet</translation>
    </message>
    <message>
        <source>expected &quot;]&quot; at %1</source>
        <translation>„]“ an Position %1 erwartet</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true oder false</translation>
    </message>
    <message>
        <source>an array</source>
        <translation>ein Array</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>ein Objekt</translation>
    </message>
    <message>
        <source>no number</source>
        <translation>keine Zahl</translation>
    </message>
    <message>
        <source>JSON path %1 holds %2, not a number</source>
        <translation>Der JSON-Pfad %1 enthält %2, keine Zahl</translation>
    </message>
    <message>
        <source>The JSON data nests deeper than 256 levels; it is not read</source>
        <translation>Die JSON-Daten sind tiefer als 256 Ebenen verschachtelt; sie werden nicht gelesen</translation>
    </message>
    <message>
        <source>its brackets do not close</source>
        <translation>seine Klammern schließen nicht</translation>
    </message>
    <message>
        <source>a JSON path begins with &quot;$&quot;</source>
        <translation>ein JSON-Pfad beginnt mit „$“</translation>
    </message>
    <message>
        <source>expected a key after the &quot;.&quot; at %1</source>
        <translation>nach dem „.“ an Position %1 wird ein Schlüssel erwartet</translation>
    </message>
    <message>
        <source>expected &quot;.&quot; or &quot;[&quot; at %1</source>
        <translation>„.“ oder „[“ an Position %1 erwartet</translation>
    </message>
    <message>
        <source>The page is larger than 64 MiB; JSON data is read from smaller pages only</source>
        <translation>Die Seite ist größer als 64 MiB; JSON-Daten werden nur aus kleineren Seiten gelesen</translation>
    </message>
    <message>
        <source>JSON path %1: %2</source>
        <translation>JSON-Pfad %1: %2</translation>
    </message>
    <message>
        <source>JSON date path %1: %2</source>
        <translation>JSON-Datumspfad %1: %2</translation>
    </message>
    <message>
        <source>JSON time path %1: %2</source>
        <translation>JSON-Zeitpfad %1: %2</translation>
    </message>
    <message>
        <source>The page&apos;s scripts are too tangled to look through for JSON data; it is not read</source>
        <translation>Die Skripte der Seite sind zu verschachtelt, um sie nach JSON-Daten zu durchsuchen; die Seite wird nicht gelesen</translation>
    </message>
    <message>
        <source>The page is not valid JSON (%1 at byte %2)</source>
        <translation>Die Seite ist kein gültiges JSON (%1 bei Byte %2)</translation>
    </message>
    <message>
        <source>JSON path %1 not found in the page</source>
        <translation>JSON-Pfad %1 auf der Seite nicht gefunden</translation>
    </message>
    <message>
        <source>JSON path %1 not found: the page is no JSON and has no script</source>
        <translation>JSON-Pfad %1 nicht gefunden: Die Seite ist kein JSON und enthält kein Skript</translation>
    </message>
    <message>
        <source>JSON path %1 not found in the page&apos;s %2 script(s)</source>
        <translation>JSON-Pfad %1 in den %2 Skript(en) der Seite nicht gefunden</translation>
    </message>
    <message>
        <source>JSON date path %1 not found beside the value</source>
        <translation>JSON-Datumspfad %1 neben dem Wert nicht gefunden</translation>
    </message>
    <message>
        <source>JSON date path %1 holds no date: %2</source>
        <translation>JSON-Datumspfad %1 enthält kein Datum: %2</translation>
    </message>
    <message>
        <source>JSON date path %1 holds a date out of range</source>
        <translation>JSON-Datumspfad %1 enthält ein Datum außerhalb des gültigen Bereichs</translation>
    </message>
    <message>
        <source>JSON time path %1 not found beside the value</source>
        <translation>JSON-Zeitpfad %1 neben dem Wert nicht gefunden</translation>
    </message>
    <message>
        <source>JSON time path %1 holds no time of day: %2</source>
        <translation>JSON-Zeitpfad %1 enthält keine Uhrzeit: %2</translation>
    </message>
    <message>
        <source>The quotation cannot be searched for: %1 (at character %2 of the quotation)</source>
        <translation>Nach dem Kurs kann nicht gesucht werden: %1 (bei Zeichen %2 des Kurses)</translation>
    </message>
    <message>
        <source>The quotation cannot be searched for: %1</source>
        <translation>Nach dem Kurs kann nicht gesucht werden: %1</translation>
    </message>
    <message>
        <source>The quotation cannot be searched for: its expression takes too long to match in this page</source>
        <translation>Nach dem Kurs kann nicht gesucht werden: Sein Ausdruck braucht auf dieser Seite zu lange für die Suche</translation>
    </message>
    <message>
        <source>The quotation cannot be searched for: matching error %1</source>
        <translation>Nach dem Kurs kann nicht gesucht werden: Suchfehler %1</translation>
    </message>
    <message>
        <source>[format %1: %2 is read as %3, as the page&apos;s other numbers are written]</source>
        <translation>[Format %1: %2 wird als %3 gelesen, so wie die übrigen Zahlen der Seite geschrieben sind]</translation>
    </message>
    <message>
        <source>[format %1: %2 is read as %3, as the configuration&apos;s format reads it]</source>
        <translation>[Format %1: %2 wird als %3 gelesen, so wie das Format der Konfiguration es liest]</translation>
    </message>
    <message>
        <source>[format %1: %2 is read as %3; nothing in the page decides it]</source>
        <translation>[Format %1: %2 wird als %3 gelesen; nichts auf der Seite entscheidet es]</translation>
    </message>
    <message>
        <source>[format %1: %2 is read as %3, as chosen]</source>
        <translation>[Format %1: %2 wird wie gewählt als %3 gelesen]</translation>
    </message>
    <message>
        <source>Please enter the quotation to be extracted!</source>
        <translation>Bitte geben Sie den Kurs ein, der ausgelesen werden soll!</translation>
    </message>
    <message>
        <source>Quotation doesn&apos;t exist in the specified web page!</source>
        <translation>Der Kurs kommt auf der angegebenen Webseite nicht vor!</translation>
    </message>
    <message>
        <source>The quotation &quot;%1&quot; is not a number in the format &quot;%2&quot;; choose another format, or press Get Configuration again.</source>
        <translation>Der Kurs „%1“ ist keine Zahl im Format „%2“; wählen Sie ein anderes Format, oder lassen Sie die Konfiguration erneut ermitteln.</translation>
    </message>
    <message>
        <source>No rule reads the quotation &quot;%1&quot; in the format &quot;%2&quot;; choose another format, or press Get Configuration again.</source>
        <translation>Keine Regel liest den Kurs „%1“ im Format „%2“; wählen Sie ein anderes Format, oder lassen Sie die Konfiguration erneut ermitteln.</translation>
    </message>
    <message>
        <source>find text &quot;%1&quot; and skip %2 number(s)</source>
        <translation>Text „%1“ suchen und %2 Zahl(en) überspringen</translation>
    </message>
    <message>
        <source>find text &quot;%1&quot; and skip %2 html tag(s) </source>
        <translation>Text „%1“ suchen und %2 HTML-Tag(s) überspringen </translation>
    </message>
    <message>
        <source>find text &quot;%1&quot;, skip %2 html tag(s) and then skip %3 number(s)</source>
        <translation>Text „%1“ suchen, %2 HTML-Tag(s) und danach %3 Zahl(en) überspringen</translation>
    </message>
    <message>
        <source>JSON path: %1</source>
        <translation>JSON-Pfad: %1</translation>
    </message>
    <message>
        <source>JSON path: %1, date: %2</source>
        <translation>JSON-Pfad: %1, Datum: %2</translation>
    </message>
    <message>
        <source>year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>hour</source>
        <translation>Stunde</translation>
    </message>
    <message>
        <source>minute</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>, %1 (%2): &apos;%3&apos;</source>
        <translation>, %1 (%2): &apos;%3&apos;</translation>
    </message>
    <message>
        <source>%1 (%2): &apos;%3&apos;</source>
        <translation>%1 (%2): &apos;%3&apos;</translation>
    </message>
    <message>
        <source>Invalid date/time</source>
        <translation>Ungültiges Datum/Uhrzeit</translation>
    </message>
    <message>
        <source>Invalid date/time from RegExp capture %1</source>
        <translation>Ungültiges Datum/Uhrzeit aus RegExp-Gruppe %1</translation>
    </message>
    <message>
        <source>Invalid date/time from RegExp captures %1</source>
        <translation>Ungültiges Datum/Uhrzeit aus RegExp-Gruppen %1</translation>
    </message>
    <message>
        <source>day %1 does not exist</source>
        <translation>Tag %1 existiert nicht</translation>
    </message>
    <message>
        <source>month %1 does not exist</source>
        <translation>Monat %1 existiert nicht</translation>
    </message>
    <message>
        <source>year %1 does not exist</source>
        <translation>Jahr %1 existiert nicht</translation>
    </message>
    <message>
        <source>RegExp matching error %1</source>
        <translation>RegExp-Suchfehler %1</translation>
    </message>
    <message>
        <source>RegExp Match index doesn&apos;t exist (max match index = %1).</source>
        <translation>RegExp-Treffer-Index existiert nicht (höchster Treffer-Index = %1).</translation>
    </message>
    <message>
        <source>RegExp compilation failed at pos. %1: %2</source>
        <translation>RegExp-Kompilierung an Pos. %1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>%1 is before %2</source>
        <translation>%1 liegt vor %2</translation>
    </message>
    <message>
        <source>%1 is after %2</source>
        <translation>%1 liegt nach %2</translation>
    </message>
    <message>
        <source>no value</source>
        <translation>kein Wert</translation>
    </message>
    <message>
        <source>value %1 is not a number</source>
        <translation>Wert %1 ist keine Zahl</translation>
    </message>
    <message>
        <source>value %1 is not a finite number</source>
        <translation>Wert %1 ist keine endliche Zahl</translation>
    </message>
    <message>
        <source>value %1 is not above 0</source>
        <translation>Wert %1 ist nicht größer als 0</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 existiert nicht</translation>
    </message>
    <message>
        <source>No match found!</source>
        <translation>Keine Übereinstimmung gefunden!</translation>
    </message>
    <message>
        <source>Quotation value match place holder missing!</source>
        <translation>Platzhalter für den Kurswert fehlt!</translation>
    </message>
    <message>
        <source>No RegExp match found for &apos;%1&apos;</source>
        <translation>Kein RegExp-Treffer für &apos;%1&apos; gefunden</translation>
    </message>
    <message>
        <source>RegExp output vector has space for only %1 captured substrings</source>
        <translation>Der RegExp-Ergebnisvektor hat nur Platz für %1 gefundene Teilzeichenketten</translation>
    </message>
    <message>
        <source>Could not open file!</source>
        <translation>Die Datei konnte nicht geöffnet werden!</translation>
    </message>
</context>
<context>
    <name>Servers</name>
    <message>
        <source>a header needs the form &quot;Name: value&quot;</source>
        <translation>eine Kopfzeile braucht die Form „Name: Wert“</translation>
    </message>
    <message>
        <source>header %1 has no valid name before its colon (letters, digits and !#$%&amp;&apos;*+-.^_`|~ only, no blanks)</source>
        <translation>Kopfzeile %1 hat keinen gültigen Namen vor ihrem Doppelpunkt (nur Buchstaben, Ziffern und !#$%&amp;&apos;*+-.^_`|~, keine Leerzeichen)</translation>
    </message>
    <message>
        <source>the header %1 is set by the program itself and cannot be sent</source>
        <translation>die Kopfzeile %1 setzt das Programm selbst, sie kann nicht gesendet werden</translation>
    </message>
    <message>
        <source>the header %1 is given twice</source>
        <translation>die Kopfzeile %1 ist doppelt angegeben</translation>
    </message>
    <message>
        <source>the header %1 has no value</source>
        <translation>die Kopfzeile %1 hat keinen Wert</translation>
    </message>
    <message>
        <source>the value of the header %1 holds other than printable ASCII characters</source>
        <translation>der Wert der Kopfzeile %1 enthält andere als druckbare ASCII-Zeichen</translation>
    </message>
    <message>
        <source>at most %1 headers can be sent</source>
        <translation>es können höchstens %1 Kopfzeilen gesendet werden</translation>
    </message>
    <message>
        <source>the headers are longer than %1 characters</source>
        <translation>die Kopfzeilen sind länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>Headers: %1.</source>
        <translation>Kopfzeilen: %1.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>the import number format is 0, 1, 2 or 3</source>
        <translation>das Zahlenformat des Imports ist 0, 1, 2 oder 3</translation>
    </message>
    <message>
        <source>The ready-made configuration &apos;%1&apos; has no description.</source>
        <translation>Die vorgefertigte Konfiguration „%1“ hat keine Beschreibung.</translation>
    </message>
    <message>
        <source>The ready-made configurations (share/tarvelo/catalog.reg) are not installed.</source>
        <translation>Die vorgefertigten Konfigurationen (share/tarvelo/catalog.reg) sind nicht installiert.</translation>
    </message>
    <message>
        <source>%1: the file cannot be read.</source>
        <translation>%1: Die Datei kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>A server configuration of that name is stored already: %1.</source>
        <translation>Eine Serverkonfiguration mit diesem Namen ist bereits gespeichert: %1.</translation>
    </message>
    <message>
        <source>the configuration name holds the control character %1</source>
        <translation>der Name der Konfiguration enthält das Steuerzeichen %1</translation>
    </message>
    <message>
        <source>the configuration name is longer than 259 characters</source>
        <translation>der Name der Konfiguration ist länger als 259 Zeichen</translation>
    </message>
    <message>
        <source>a quoted text does not end</source>
        <translation>ein Text in Anführungszeichen endet nicht</translation>
    </message>
    <message>
        <source>bad hexadecimal bytes</source>
        <translation>ungültige hexadezimale Bytes</translation>
    </message>
    <message>
        <source>text after the value</source>
        <translation>Text nach dem Wert</translation>
    </message>
    <message>
        <source>a dword needs one to eight hexadecimal digits</source>
        <translation>ein dword braucht ein bis acht hexadezimale Ziffern</translation>
    </message>
    <message>
        <source>a hex(4) value needs four bytes</source>
        <translation>ein hex(4)-Wert braucht vier Bytes</translation>
    </message>
    <message>
        <source>deleting values is not supported</source>
        <translation>das Löschen von Werten wird nicht unterstützt</translation>
    </message>
    <message>
        <source>values must be texts or dwords</source>
        <translation>Werte müssen Texte oder dwords sein</translation>
    </message>
    <message>
        <source>the line is too long</source>
        <translation>die Zeile ist zu lang</translation>
    </message>
    <message>
        <source>The file is too large to be a server configuration file.</source>
        <translation>Die Datei ist zu groß für eine Datei mit Serverkonfigurationen.</translation>
    </message>
    <message>
        <source>Not a registry file of version 5.00.</source>
        <translation>Keine Registrierungsdatei der Version 5.00.</translation>
    </message>
    <message>
        <source>Not a REGEDIT4 registry file.</source>
        <translation>Keine REGEDIT4-Registrierungsdatei.</translation>
    </message>
    <message>
        <source>the file ends inside this line; it seems to be cut off</source>
        <translation>die Datei endet mitten in dieser Zeile; sie scheint abgeschnitten zu sein</translation>
    </message>
    <message>
        <source>a key line must end with &quot;]&quot;</source>
        <translation>eine Schlüsselzeile muss mit „]“ enden</translation>
    </message>
    <message>
        <source>deleting keys is not supported</source>
        <translation>das Löschen von Schlüsseln wird nicht unterstützt</translation>
    </message>
    <message>
        <source>the key is not one of Tarvelo&apos;s server configurations: [%1]</source>
        <translation>der Schlüssel gehört zu keiner Serverkonfiguration von Tarvelo: [%1]</translation>
    </message>
    <message>
        <source>neither a key nor a value</source>
        <translation>weder ein Schlüssel noch ein Wert</translation>
    </message>
    <message>
        <source>a value needs &quot;=&quot; after its name</source>
        <translation>ein Wert braucht „=“ nach seinem Namen</translation>
    </message>
    <message>
        <source>a value before the first key</source>
        <translation>ein Wert vor dem ersten Schlüssel</translation>
    </message>
    <message>
        <source>the key of all configurations holds no values</source>
        <translation>der Schlüssel aller Konfigurationen enthält keine Werte</translation>
    </message>
    <message>
        <source>the version key holds only the dword &quot;Version number&quot;</source>
        <translation>der Versionsschlüssel enthält nur das dword „Version number“</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a value of a server configuration</source>
        <translation>„%1“ ist kein Wert einer Serverkonfiguration</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a text</source>
        <translation>„%1“ muss ein Text sein</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a dword</source>
        <translation>„%1“ muss ein dword sein</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is longer than %2 characters</source>
        <translation>„%1“ ist länger als %2 Zeichen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; %2</source>
        <translation>„%1“ %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2</source>
        <translation>„%1“: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is %2. Please enter an integer between %3 and %4.</source>
        <translation>„%1“ ist %2. Bitte geben Sie eine ganze Zahl zwischen %3 und %4 ein.</translation>
    </message>
    <message>
        <source>There is no server configuration named &quot;%1&quot;.</source>
        <translation>Es gibt keine Serverkonfiguration namens „%1“.</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>Die Datei kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Please enter a name for the configuration.</source>
        <translation>Bitte geben Sie einen Namen für die Konfiguration ein.</translation>
    </message>
    <message>
        <source>The name of a configuration may not begin or end with a blank.</source>
        <translation>Der Name einer Konfiguration darf nicht mit einem Leerzeichen beginnen oder enden.</translation>
    </message>
    <message>
        <source>The name of a configuration may not hold control characters.</source>
        <translation>Der Name einer Konfiguration darf keine Steuerzeichen enthalten.</translation>
    </message>
    <message>
        <source>The name of a configuration may not hold &quot;\&quot; or &quot;/&quot;.</source>
        <translation>Der Name einer Konfiguration darf weder „\“ noch „/“ enthalten.</translation>
    </message>
    <message>
        <source>The name of a configuration may be at most %1 characters long.</source>
        <translation>Der Name einer Konfiguration darf höchstens %1 Zeichen lang sein.</translation>
    </message>
    <message>
        <source>holds a NUL character</source>
        <translation>enthält ein NUL-Zeichen</translation>
    </message>
    <message>
        <source>holds a line break</source>
        <translation>enthält einen Zeilenumbruch</translation>
    </message>
    <message>
        <source>-- User defined --</source>
        <translation>-- Benutzerdefiniert --</translation>
    </message>
</context>
</TS>
