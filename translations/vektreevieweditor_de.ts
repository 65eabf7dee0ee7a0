<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>IconNames</name>
    <message>
        <source>folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>remote folder</source>
        <translation>Entfernter Ordner</translation>
    </message>
    <message>
        <source>saved search folder</source>
        <translation>Ordner mit gespeicherter Suche</translation>
    </message>
    <message>
        <source>open folder</source>
        <translation>Geöffneter Ordner</translation>
    </message>
    <message>
        <source>visited folder</source>
        <translation>Besuchter Ordner</translation>
    </message>
    <message>
        <source>folder accepting a drop</source>
        <translation>Ordner, der Abgelegtes annimmt</translation>
    </message>
    <message>
        <source>new folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>home folder</source>
        <translation>Persönlicher Ordner</translation>
    </message>
    <message>
        <source>desktop</source>
        <translation>Arbeitsfläche</translation>
    </message>
    <message>
        <source>start here</source>
        <translation>Hier starten</translation>
    </message>
    <message>
        <source>network server</source>
        <translation>Netzwerkserver</translation>
    </message>
    <message>
        <source>network workgroup</source>
        <translation>Arbeitsgruppe im Netzwerk</translation>
    </message>
    <message>
        <source>trash</source>
        <translation>Papierkorb</translation>
    </message>
    <message>
        <source>full trash</source>
        <translation>Voller Papierkorb</translation>
    </message>
    <message>
        <source>text file</source>
        <translation>Textdatei</translation>
    </message>
    <message>
        <source>document</source>
        <translation>Dokument</translation>
    </message>
    <message>
        <source>text template</source>
        <translation>Textvorlage</translation>
    </message>
    <message>
        <source>document template</source>
        <translation>Dokumentvorlage</translation>
    </message>
    <message>
        <source>script</source>
        <translation>Skript</translation>
    </message>
    <message>
        <source>web page</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>spreadsheet</source>
        <translation>Tabelle</translation>
    </message>
    <message>
        <source>spreadsheet template</source>
        <translation>Tabellenvorlage</translation>
    </message>
    <message>
        <source>presentation</source>
        <translation>Präsentation</translation>
    </message>
    <message>
        <source>presentation template</source>
        <translation>Präsentationsvorlage</translation>
    </message>
    <message>
        <source>drawing</source>
        <translation>Zeichnung</translation>
    </message>
    <message>
        <source>drawing template</source>
        <translation>Zeichnungsvorlage</translation>
    </message>
    <message>
        <source>address book</source>
        <translation>Adressbuch</translation>
    </message>
    <message>
        <source>calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>sound</source>
        <translation>Klang</translation>
    </message>
    <message>
        <source>video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>package</source>
        <translation>Paket</translation>
    </message>
    <message>
        <source>program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>certificate</source>
        <translation>Zertifikat</translation>
    </message>
    <message>
        <source>favourite</source>
        <translation>Favorit</translation>
    </message>
    <message>
        <source>important</source>
        <translation>Wichtig</translation>
    </message>
    <message>
        <source>read-only</source>
        <translation>Schreibgeschützt</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>Nicht lesbar</translation>
    </message>
    <message>
        <source>link</source>
        <translation>Verknüpfung</translation>
    </message>
    <message>
        <source>system</source>
        <translation>System</translation>
    </message>
    <message>
        <source>photos</source>
        <translation>Fotos</translation>
    </message>
    <message>
        <source>information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>attachment</source>
        <translation>Anhang</translation>
    </message>
    <message>
        <source>update available</source>
        <translation>Aktualisierung verfügbar</translation>
    </message>
    <message>
        <source>urgent update</source>
        <translation>Dringende Aktualisierung</translation>
    </message>
    <message>
        <source>picture loading</source>
        <translation>Bild wird geladen</translation>
    </message>
    <message>
        <source>missing picture</source>
        <translation>Fehlendes Bild</translation>
    </message>
    <message>
        <source>clear sky</source>
        <translation>Klarer Himmel</translation>
    </message>
    <message>
        <source>few clouds</source>
        <translation>Leicht bewölkt</translation>
    </message>
    <message>
        <source>overcast</source>
        <translation>Bedeckt</translation>
    </message>
    <message>
        <source>scattered showers</source>
        <translation>Vereinzelte Schauer</translation>
    </message>
    <message>
        <source>showers</source>
        <translation>Schauer</translation>
    </message>
    <message>
        <source>snow</source>
        <translation>Schnee</translation>
    </message>
    <message>
        <source>storm</source>
        <translation>Sturm</translation>
    </message>
    <message>
        <source>severe weather alert</source>
        <translation>Unwetterwarnung</translation>
    </message>
    <message>
        <source>clear night</source>
        <translation>Klare Nacht</translation>
    </message>
    <message>
        <source>few clouds at night</source>
        <translation>Leicht bewölkte Nacht</translation>
    </message>
    <message>
        <source>network idle</source>
        <translation>Netzwerk im Leerlauf</translation>
    </message>
    <message>
        <source>network sending</source>
        <translation>Netzwerk sendet</translation>
    </message>
    <message>
        <source>network receiving</source>
        <translation>Netzwerk empfängt</translation>
    </message>
    <message>
        <source>network sending and receiving</source>
        <translation>Netzwerk sendet und empfängt</translation>
    </message>
    <message>
        <source>network offline</source>
        <translation>Netzwerk getrennt</translation>
    </message>
    <message>
        <source>network error</source>
        <translation>Netzwerkfehler</translation>
    </message>
    <message>
        <source>encrypted wireless network</source>
        <translation>Verschlüsseltes Funknetzwerk</translation>
    </message>
    <message>
        <source>volume high</source>
        <translation>Lautstärke hoch</translation>
    </message>
    <message>
        <source>volume medium</source>
        <translation>Lautstärke mittel</translation>
    </message>
    <message>
        <source>volume low</source>
        <translation>Lautstärke niedrig</translation>
    </message>
    <message>
        <source>volume muted</source>
        <translation>Stumm geschaltet</translation>
    </message>
    <message>
        <source>battery low</source>
        <translation>Akku schwach</translation>
    </message>
    <message>
        <source>printer error</source>
        <translation>Druckerfehler</translation>
    </message>
    <message>
        <source>computer</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>hard disk</source>
        <translation>Festplatte</translation>
    </message>
    <message>
        <source>optical drive</source>
        <translation>Optisches Laufwerk</translation>
    </message>
    <message>
        <source>removable drive</source>
        <translation>Wechsellaufwerk</translation>
    </message>
    <message>
        <source>optical disc</source>
        <translation>Optischer Datenträger</translation>
    </message>
    <message>
        <source>floppy disk</source>
        <translation>Diskette</translation>
    </message>
    <message>
        <source>flash memory</source>
        <translation>Flash-Speicher</translation>
    </message>
    <message>
        <source>printer</source>
        <translation>Drucker</translation>
    </message>
    <message>
        <source>display</source>
        <translation>Bildschirm</translation>
    </message>
    <message>
        <source>keyboard</source>
        <translation>Tastatur</translation>
    </message>
    <message>
        <source>mouse</source>
        <translation>Maus</translation>
    </message>
    <message>
        <source>game controller</source>
        <translation>Gamecontroller</translation>
    </message>
    <message>
        <source>photo camera</source>
        <translation>Fotokamera</translation>
    </message>
    <message>
        <source>video camera</source>
        <translation>Videokamera</translation>
    </message>
    <message>
        <source>sound card</source>
        <translation>Soundkarte</translation>
    </message>
    <message>
        <source>microphone</source>
        <translation>Mikrofon</translation>
    </message>
    <message>
        <source>media player</source>
        <translation>Mediaplayer</translation>
    </message>
    <message>
        <source>wired network</source>
        <translation>Kabelnetzwerk</translation>
    </message>
    <message>
        <source>wireless network</source>
        <translation>Funknetzwerk</translation>
    </message>
    <message>
        <source>battery</source>
        <translation>Akku</translation>
    </message>
    <message>
        <source>text editor</source>
        <translation>Texteditor</translation>
    </message>
    <message>
        <source>calculator</source>
        <translation>Taschenrechner</translation>
    </message>
    <message>
        <source>character map</source>
        <translation>Zeichentabelle</translation>
    </message>
    <message>
        <source>calendar program</source>
        <translation>Kalenderprogramm</translation>
    </message>
    <message>
        <source>mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>web browser</source>
        <translation>Webbrowser</translation>
    </message>
    <message>
        <source>news reader</source>
        <translation>Newsreader</translation>
    </message>
    <message>
        <source>group chat</source>
        <translation>Gruppenchat</translation>
    </message>
    <message>
        <source>help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>file manager</source>
        <translation>Dateimanager</translation>
    </message>
    <message>
        <source>users</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>installer</source>
        <translation>Installationsprogramm</translation>
    </message>
    <message>
        <source>software update</source>
        <translation>Softwareaktualisierung</translation>
    </message>
    <message>
        <source>terminal</source>
        <translation>Terminal</translation>
    </message>
    <message>
        <source>system monitor</source>
        <translation>Systemmonitor</translation>
    </message>
    <message>
        <source>fonts</source>
        <translation>Schriftarten</translation>
    </message>
    <message>
        <source>theme</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>wallpaper</source>
        <translation>Hintergrundbild</translation>
    </message>
    <message>
        <source>screensaver</source>
        <translation>Bildschirmschoner</translation>
    </message>
    <message>
        <source>language and region</source>
        <translation>Sprache und Region</translation>
    </message>
    <message>
        <source>keyboard shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>accessibility</source>
        <translation>Barrierefreiheit</translation>
    </message>
    <message>
        <source>assistive technology</source>
        <translation>Unterstützende Technologien</translation>
    </message>
    <message>
        <source>multimedia settings</source>
        <translation>Multimedia-Einstellungen</translation>
    </message>
    <message>
        <source>remote desktop</source>
        <translation>Entfernte Arbeitsfläche</translation>
    </message>
    <message>
        <source>windows</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>session</source>
        <translation>Sitzung</translation>
    </message>
    <message>
        <source>network proxy</source>
        <translation>Netzwerk-Proxy</translation>
    </message>
    <message>
        <source>accessories</source>
        <translation>Zubehör</translation>
    </message>
    <message>
        <source>development</source>
        <translation>Entwicklung</translation>
    </message>
    <message>
        <source>games</source>
        <translation>Spiele</translation>
    </message>
    <message>
        <source>graphics</source>
        <translation>Grafik</translation>
    </message>
    <message>
        <source>internet</source>
        <translation>Internet</translation>
    </message>
    <message>
        <source>multimedia</source>
        <translation>Multimedia</translation>
    </message>
    <message>
        <source>office</source>
        <translation>Büro</translation>
    </message>
    <message>
        <source>system tools</source>
        <translation>Systemwerkzeuge</translation>
    </message>
    <message>
        <source>other programs</source>
        <translation>Andere Programme</translation>
    </message>
    <message>
        <source>desktop settings</source>
        <translation>Einstellungen der Arbeitsfläche</translation>
    </message>
    <message>
        <source>devices</source>
        <translation>Geräte</translation>
    </message>
    <message>
        <source>system settings</source>
        <translation>Systemeinstellungen</translation>
    </message>
    <message>
        <source>smile</source>
        <translation>Lächeln</translation>
    </message>
    <message>
        <source>big smile</source>
        <translation>Breites Lächeln</translation>
    </message>
    <message>
        <source>grin</source>
        <translation>Grinsen</translation>
    </message>
    <message>
        <source>wink</source>
        <translation>Zwinkern</translation>
    </message>
    <message>
        <source>kiss</source>
        <translation>Kuss</translation>
    </message>
    <message>
        <source>angel</source>
        <translation>Engel</translation>
    </message>
    <message>
        <source>glasses</source>
        <translation>Brille</translation>
    </message>
    <message>
        <source>plain face</source>
        <translation>Neutrales Gesicht</translation>
    </message>
    <message>
        <source>surprise</source>
        <translation>Überraschung</translation>
    </message>
    <message>
        <source>sad face</source>
        <translation>Trauriges Gesicht</translation>
    </message>
    <message>
        <source>crying</source>
        <translation>Weinen</translation>
    </message>
    <message>
        <source>devil</source>
        <translation>Teufel</translation>
    </message>
    <message>
        <source>monkey</source>
        <translation>Affe</translation>
    </message>
    <message>
        <source>new document</source>
        <translation>Neues Dokument</translation>
    </message>
    <message>
        <source>open document</source>
        <translation>Dokument öffnen</translation>
    </message>
    <message>
        <source>save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>save as</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>print preview</source>
        <translation>Seitenvorschau</translation>
    </message>
    <message>
        <source>copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>find and replace</source>
        <translation>Suchen und Ersetzen</translation>
    </message>
    <message>
        <source>select all</source>
        <translation>Alles markieren</translation>
    </message>
    <message>
        <source>search</source>
        <translation>Suche</translation>
    </message>
    <message>
        <source>new bookmark</source>
        <translation>Neues Lesezeichen</translation>
    </message>
    <message>
        <source>new appointment</source>
        <translation>Neuer Termin</translation>
    </message>
    <message>
        <source>new contact</source>
        <translation>Neuer Kontakt</translation>
    </message>
    <message>
        <source>new address book</source>
        <translation>Neues Adressbuch</translation>
    </message>
    <message>
        <source>new mail</source>
        <translation>Neue E-Mail</translation>
    </message>
    <message>
        <source>reply</source>
        <translation>Antworten</translation>
    </message>
    <message>
        <source>reply to all</source>
        <translation>Allen antworten</translation>
    </message>
    <message>
        <source>forward</source>
        <translation>Weiterleiten</translation>
    </message>
    <message>
        <source>send and receive mail</source>
        <translation>E-Mails senden und empfangen</translation>
    </message>
    <message>
        <source>junk mail</source>
        <translation>Spam</translation>
    </message>
    <message>
        <source>not junk</source>
        <translation>Kein Spam</translation>
    </message>
    <message>
        <source>add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>go home</source>
        <translation>Startseite</translation>
    </message>
    <message>
        <source>up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>forward arrow</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>first</source>
        <translation>Zum Anfang</translation>
    </message>
    <message>
        <source>last</source>
        <translation>Zum Ende</translation>
    </message>
    <message>
        <source>top</source>
        <translation>Ganz nach oben</translation>
    </message>
    <message>
        <source>bottom</source>
        <translation>Ganz nach unten</translation>
    </message>
    <message>
        <source>jump</source>
        <translation>Springen</translation>
    </message>
    <message>
        <source>bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>strikethrough</source>
        <translation>Durchgestrichen</translation>
    </message>
    <message>
        <source>align left</source>
        <translation>Linksbündig</translation>
    </message>
    <message>
        <source>centre</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>align right</source>
        <translation>Rechtsbündig</translation>
    </message>
    <message>
        <source>justify</source>
        <translation>Blocksatz</translation>
    </message>
    <message>
        <source>indent more</source>
        <translation>Einzug vergrößern</translation>
    </message>
    <message>
        <source>indent less</source>
        <translation>Einzug verkleinern</translation>
    </message>
    <message>
        <source>play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>record</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>rewind</source>
        <translation>Zurückspulen</translation>
    </message>
    <message>
        <source>fast forward</source>
        <translation>Vorspulen</translation>
    </message>
    <message>
        <source>skip back</source>
        <translation>Vorheriger Titel</translation>
    </message>
    <message>
        <source>skip forward</source>
        <translation>Nächster Titel</translation>
    </message>
    <message>
        <source>eject</source>
        <translation>Auswerfen</translation>
    </message>
    <message>
        <source>refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>full screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>new window</source>
        <translation>Neues Fenster</translation>
    </message>
    <message>
        <source>new tab</source>
        <translation>Neuer Tab</translation>
    </message>
    <message>
        <source>stop sign</source>
        <translation>Stoppschild</translation>
    </message>
    <message>
        <source>lock screen</source>
        <translation>Bildschirm sperren</translation>
    </message>
    <message>
        <source>log out</source>
        <translation>Abmelden</translation>
    </message>
    <message>
        <source>shut down</source>
        <translation>Herunterfahren</translation>
    </message>
    <message>
        <source>home folder, old style</source>
        <translation>Persönlicher Ordner, alter Stil</translation>
    </message>
    <message>
        <source>paper clip</source>
        <translation>Büroklammer</translation>
    </message>
</context>
<context>
    <name>TActionTable</name>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>New data file.</source>
        <translation>Neue Datendatei.</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Opens an existing data file.</source>
        <translation>Öffnet eine vorhandene Datendatei.</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Saves the current data file.</source>
        <translation>Speichert die aktuelle Datendatei.</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>Saves the current work as an new data file.</source>
        <translation>Speichert die aktuelle Arbeit als neue Datendatei.</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Closes the current data file.</source>
        <translation>Schließt die aktuelle Datendatei.</translation>
    </message>
    <message>
        <source>&amp;New Item</source>
        <translation>&amp;Neues Element</translation>
    </message>
    <message>
        <source>Adds a new item.</source>
        <translation>Fügt ein neues Element hinzu.</translation>
    </message>
    <message>
        <source>New &amp;Sub Item</source>
        <translation>Neues &amp;Unterelement</translation>
    </message>
    <message>
        <source>Adds a new child item to the selected item.</source>
        <translation>Fügt dem ausgewählten Element ein neues Unterelement hinzu.</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Deletea the selected item.</source>
        <translation>Löscht das ausgewählte Element.</translation>
    </message>
    <message>
        <source>Word &amp;Wrap</source>
        <translation>&amp;Zeilenumbruch</translation>
    </message>
    <message>
        <source>Wraps Around the Editor</source>
        <translation>Bricht die Zeilen am Rand des Editors um</translation>
    </message>
    <message>
        <source>Im&amp;port</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>Adds the items of an OPML, Markdown, indented text or tree data file at the end of the tree.</source>
        <translation>Fügt die Elemente einer OPML-, Markdown-, eingerückten Text- oder Baumdatendatei am Ende des Baums hinzu.</translation>
    </message>
    <message>
        <source>Export as &amp;Text File</source>
        <translation>Als &amp;Textdatei exportieren</translation>
    </message>
    <message>
        <source>Exports the current data file to a single text file.</source>
        <translation>Exportiert die aktuelle Datendatei in eine einzelne Textdatei.</translation>
    </message>
    <message>
        <source>Export as &amp;Ini File</source>
        <translation>Als INI-&amp;Datei exportieren</translation>
    </message>
    <message>
        <source>Exports the current data file to a single ini file with the name as seaction header and decription as body.</source>
        <translation>Exportiert die aktuelle Datendatei in eine einzelne INI-Datei, mit dem Namen als Abschnittskopf und der Beschreibung als Inhalt.</translation>
    </message>
    <message>
        <source>Export as &amp;Multiple Files</source>
        <translation>Als &amp;mehrere Dateien exportieren</translation>
    </message>
    <message>
        <source>Exports the current data file to multiple files each with the nodename as filename.</source>
        <translation>Exportiert die aktuelle Datendatei in mehrere Dateien, jede mit dem Namen des Elements als Dateinamen.</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quit the application.</source>
        <translation>Beendet das Programm.</translation>
    </message>
    <message>
        <source>&amp;Font...</source>
        <translation>&amp;Schriftart...</translation>
    </message>
    <message>
        <source>Changes the display font.</source>
        <translation>Ändert die Schriftart der Anzeige.</translation>
    </message>
    <message>
        <source>&amp;E-Mail</source>
        <translation>&amp;E-Mail</translation>
    </message>
    <message>
        <source>Email Author|Launchs your email application that you can send a email to Ulmar.</source>
        <translation>E-Mail an den Autor|Startet Ihr E-Mail-Programm, damit Sie Ulmar eine E-Mail schreiben können.</translation>
    </message>
    <message>
        <source>Home &amp;Page</source>
        <translation>&amp;Homepage</translation>
    </message>
    <message>
        <source>Author&apos;s Home page|Launchs your internet browser and connects to Ulmar&apos;s home page.</source>
        <translation>Homepage des Autors|Startet Ihren Webbrowser und öffnet Ulmars Homepage.</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>About the VekTreeViewEditor</source>
        <translation>Über VekTreeViewEditor</translation>
    </message>
    <message>
        <source>&amp;Move Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move up|Move the selected item up</source>
        <translation>Nach oben|Verschiebt das ausgewählte Element nach oben</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Undo|Takes back the last change of the tree or of a description</source>
        <translation>Rückgängig|Nimmt die letzte Änderung am Baum oder an einer Beschreibung zurück</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Redo|Does again the last change that was undone</source>
        <translation>Wiederherstellen|Führt die zuletzt zurückgenommene Änderung erneut aus</translation>
    </message>
    <message>
        <source>Set password|Protects the data file with a password: from the next save on it is encrypted.</source>
        <translation>Passwort festlegen|Schützt die Datendatei mit einem Passwort: ab dem nächsten Speichern wird sie verschlüsselt.</translation>
    </message>
    <message>
        <source>Remove password|Saves the data file without a password again.</source>
        <translation>Passwort entfernen|Speichert die Datendatei wieder ohne Passwort.</translation>
    </message>
    <message>
        <source>Exports the current data file as an OPML outline that other outliners read.</source>
        <translation>Exportiert die aktuelle Datendatei als OPML-Gliederung, die andere Gliederungsprogramme lesen.</translation>
    </message>
    <message>
        <source>Exports the current data file as a Markdown document with headings and nested lists.</source>
        <translation>Exportiert die aktuelle Datendatei als Markdown-Dokument mit Überschriften und verschachtelten Listen.</translation>
    </message>
    <message>
        <source>Export as &amp;HTML</source>
        <translation>Als &amp;HTML exportieren</translation>
    </message>
    <message>
        <source>Exports the current data file as one web page with collapsible sections.</source>
        <translation>Exportiert die aktuelle Datendatei als eine Webseite mit einklappbaren Abschnitten.</translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation>Nach un&amp;ten</translation>
    </message>
    <message>
        <source>Move down|Moves the selected items one place down among their siblings</source>
        <translation>Nach unten|Verschiebt die ausgewählten Elemente unter ihren Geschwistern um eine Stelle nach unten</translation>
    </message>
    <message>
        <source>&amp;Indent</source>
        <translation>&amp;Einrücken</translation>
    </message>
    <message>
        <source>Indent|Makes the selected items children of the item above them</source>
        <translation>Einrücken|Macht die ausgewählten Elemente zu Unterelementen des Elements über ihnen</translation>
    </message>
    <message>
        <source>&amp;Outdent</source>
        <translation>Au&amp;srücken</translation>
    </message>
    <message>
        <source>Outdent|Makes the selected items siblings that follow their parent</source>
        <translation>Ausrücken|Macht die ausgewählten Elemente zu Geschwistern, die ihrem übergeordneten Element folgen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Cut|Moves the selected items with their sub-items to the clipboard</source>
        <translation>Ausschneiden|Verschiebt die ausgewählten Elemente mit ihren Unterelementen in die Zwischenablage</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy|Copies the selected items with their sub-items to the clipboard</source>
        <translation>Kopieren|Kopiert die ausgewählten Elemente mit ihren Unterelementen in die Zwischenablage</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Einf&amp;ügen</translation>
    </message>
    <message>
        <source>Paste|Inserts the items or the outline on the clipboard after the focused item</source>
        <translation>Einfügen|Fügt die Elemente oder die Gliederung aus der Zwischenablage nach dem aktuellen Element ein</translation>
    </message>
    <message>
        <source>Dup&amp;licate</source>
        <translation>&amp;Duplizieren</translation>
    </message>
    <message>
        <source>Duplicate|Puts a copy of each selected item with its sub-items right after it</source>
        <translation>Duplizieren|Setzt eine Kopie jedes ausgewählten Elements mit seinen Unterelementen direkt dahinter</translation>
    </message>
    <message>
        <source>Sort C&amp;hildren</source>
        <translation>Unterele&amp;mente sortieren</translation>
    </message>
    <message>
        <source>Sort children|Sorts the focused item&apos;s children by name</source>
        <translation>Unterelemente sortieren|Sortiert die Unterelemente des aktuellen Elements nach Namen</translation>
    </message>
    <message>
        <source>Sort Su&amp;btree</source>
        <translation>Teil&amp;baum sortieren</translation>
    </message>
    <message>
        <source>Sort subtree|Sorts the items at every level below the focused item by name</source>
        <translation>Teilbaum sortieren|Sortiert die Elemente auf jeder Ebene unter dem aktuellen Element nach Namen</translation>
    </message>
    <message>
        <source>&amp;Expand All</source>
        <translation>Alle au&amp;fklappen</translation>
    </message>
    <message>
        <source>Expand all|Expands the whole tree; with Shift, the focused item&apos;s subtree</source>
        <translation>Alle aufklappen|Klappt den ganzen Baum auf; mit Umschalt den Teilbaum des aktuellen Elements</translation>
    </message>
    <message>
        <source>Coll&amp;apse All</source>
        <translation>Alle &amp;zuklappen</translation>
    </message>
    <message>
        <source>Collapse all|Collapses the whole tree; with Shift, the focused item&apos;s subtree</source>
        <translation>Alle zuklappen|Klappt den ganzen Baum zu; mit Umschalt den Teilbaum des aktuellen Elements</translation>
    </message>
    <message>
        <source>Copy Lin&amp;k to Item</source>
        <translation>L&amp;ink zum Element kopieren</translation>
    </message>
    <message>
        <source>Copy link to item|Puts the shortest link that finds the focused item on the clipboard</source>
        <translation>Link zum Element kopieren|Legt den kürzesten Link, der das aktuelle Element findet, in die Zwischenablage</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open|Open an existing document to the description window</source>
        <translation>Öffnen|Öffnet ein vorhandenes Dokument im Beschreibungsfenster</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>Save|Saves the selected item to a file.</source>
        <translation>Speichern|Speichert das ausgewählte Element in eine Datei.</translation>
    </message>
    <message>
        <source>Undo|Undo the last action</source>
        <translation>Rückgängig|Nimmt die letzte Aktion zurück</translation>
    </message>
    <message>
        <source>Cut|Cut out the selection and put it into the Clipboard</source>
        <translation>Ausschneiden|Schneidet die Auswahl aus und legt sie in die Zwischenablage</translation>
    </message>
    <message>
        <source>Copy|Copy the selection and put it into the Clipboard</source>
        <translation>Kopieren|Kopiert die Auswahl in die Zwischenablage</translation>
    </message>
    <message>
        <source>Paste|Paste clipboard data into the window</source>
        <translation>Einfügen|Fügt den Inhalt der Zwischenablage in das Fenster ein</translation>
    </message>
    <message>
        <source>Delete|Deletes the selected text.</source>
        <translation>Löschen|Löscht den ausgewählten Text.</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles &amp;markieren</translation>
    </message>
    <message>
        <source>Select all|Selects all text.</source>
        <translation>Alles markieren|Markiert den ganzen Text.</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>Su&amp;chen...</translation>
    </message>
    <message>
        <source>Find|Finds text in the current document.</source>
        <translation>Suchen|Sucht Text im aktuellen Dokument.</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Find next|Repeats the last find</source>
        <translation>Weitersuchen|Wiederholt die letzte Suche</translation>
    </message>
    <message>
        <source>R&amp;eplace...</source>
        <translation>Erse&amp;tzen...</translation>
    </message>
    <message>
        <source>Replace|Replace specific text with the different text</source>
        <translation>Ersetzen|Ersetzt einen bestimmten Text durch einen anderen</translation>
    </message>
    <message>
        <source>Find in &amp;All Items...</source>
        <translation>In allen &amp;Elementen suchen...</translation>
    </message>
    <message>
        <source>Find in all items|Finds text in the names and descriptions of all items.</source>
        <translation>In allen Elementen suchen|Sucht Text in den Namen und Beschreibungen aller Elemente.</translation>
    </message>
    <message>
        <source>Set Pass&amp;word...</source>
        <translation>Pass&amp;wort festlegen...</translation>
    </message>
    <message>
        <source>Remove Passwor&amp;d</source>
        <translation>Passwort &amp;entfernen</translation>
    </message>
    <message>
        <source>Export as OPM&amp;L</source>
        <translation>Als &amp;OPML exportieren</translation>
    </message>
    <message>
        <source>Export as Mar&amp;kdown</source>
        <translation>Als Mar&amp;kdown exportieren</translation>
    </message>
    <message>
        <source>&amp;System</source>
        <translation>&amp;System</translation>
    </message>
    <message>
        <source>System theme|Takes the colours and the style of the desktop</source>
        <translation>Systemdesign|Übernimmt die Farben und den Stil der Arbeitsfläche</translation>
    </message>
    <message>
        <source>&amp;Light</source>
        <translation>&amp;Hell</translation>
    </message>
    <message>
        <source>Light theme|Dark text on light faces, the same on every desktop</source>
        <translation>Helles Design|Dunkler Text auf hellen Flächen, auf jeder Arbeitsfläche gleich</translation>
    </message>
    <message>
        <source>&amp;Dark</source>
        <translation>&amp;Dunkel</translation>
    </message>
    <message>
        <source>Dark theme|Light text on dark faces, the same on every desktop</source>
        <translation>Dunkles Design|Heller Text auf dunklen Flächen, auf jeder Arbeitsfläche gleich</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Back|Returns to the item focused before the last jump</source>
        <translation>Zurück|Kehrt zu dem Element zurück, das vor dem letzten Sprung das aktuelle war</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>Forward|Goes again to the item left by Back</source>
        <translation>Vorwärts|Geht wieder zu dem Element, das mit Zurück verlassen wurde</translation>
    </message>
    <message>
        <source>&amp;Go to Item...</source>
        <translation>Zu &amp;Element gehen...</translation>
    </message>
    <message>
        <source>Go to item|Finds an item by typing words of its name and focuses it</source>
        <translation>Zu Element gehen|Findet ein Element über eingetippte Wörter seines Namens und macht es zum aktuellen Element</translation>
    </message>
    <message>
        <source>&amp;Clear Recent</source>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>Clear recent|Empties the list of recent files</source>
        <translation>Liste leeren|Leert die Liste der zuletzt geöffneten Dateien</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Einstellungen...</translation>
    </message>
    <message>
        <source>Options|Starting with the last document, saving automatically and printing</source>
        <translation>Einstellungen|Start mit dem letzten Dokument, automatisches Speichern und Drucken</translation>
    </message>
    <message>
        <source>P&amp;rint...</source>
        <translation>D&amp;rucken...</translation>
    </message>
    <message>
        <source>Print|Prints the tree or the focused item with its sub-items</source>
        <translation>Drucken|Druckt den Baum oder das aktuelle Element mit seinen Unterelementen</translation>
    </message>
    <message>
        <source>Print Pre&amp;view...</source>
        <translation>Seiten&amp;vorschau...</translation>
    </message>
    <message>
        <source>Print preview|Shows the pages as they would be printed</source>
        <translation>Seitenvorschau|Zeigt die Seiten so, wie sie gedruckt würden</translation>
    </message>
    <message>
        <source>Export as PD&amp;F...</source>
        <translation>Als &amp;PDF exportieren...</translation>
    </message>
    <message>
        <source>Export as PDF|Writes the tree or the focused item with its sub-items as a PDF document</source>
        <translation>Als PDF exportieren|Schreibt den Baum oder das aktuelle Element mit seinen Unterelementen als PDF-Dokument</translation>
    </message>
    <message>
        <source>&amp;Links Here</source>
        <translation>&amp;Links auf dieses Element</translation>
    </message>
    <message>
        <source>Links here|Shows the items whose descriptions link to the focused item</source>
        <translation>Links auf dieses Element|Zeigt die Elemente, deren Beschreibungen auf das aktuelle Element verweisen</translation>
    </message>
    <message>
        <source>Check &amp;Spelling</source>
        <translation>&amp;Rechtschreibung prüfen</translation>
    </message>
    <message>
        <source>Check spelling|Underlines misspelled words in the description</source>
        <translation>Rechtschreibung prüfen|Unterstreicht falsch geschriebene Wörter in der Beschreibung</translation>
    </message>
    <message>
        <source>Spelling Lan&amp;guage</source>
        <translation>Rechtschreibs&amp;prache</translation>
    </message>
    <message>
        <source>Spelling language|Chooses the dictionary the description is checked with</source>
        <translation>Rechtschreibsprache|Wählt das Wörterbuch, mit dem die Beschreibung geprüft wird</translation>
    </message>
    <message>
        <source>Focus on &amp;Subtree</source>
        <translation>Auf &amp;Teilbaum beschränken</translation>
    </message>
    <message>
        <source>Focus on subtree|Shows only the focused item with its sub-items</source>
        <translation>Auf Teilbaum beschränken|Zeigt nur das aktuelle Element mit seinen Unterelementen</translation>
    </message>
    <message>
        <source>Show &amp;Whole Tree</source>
        <translation>&amp;Ganzen Baum zeigen</translation>
    </message>
    <message>
        <source>Show whole tree|Shows every item again after Focus on Subtree</source>
        <translation>Ganzen Baum zeigen|Zeigt nach Auf Teilbaum beschränken wieder alle Elemente</translation>
    </message>
    <message>
        <source>Filte&amp;r Tree</source>
        <translation>Baum &amp;filtern</translation>
    </message>
    <message>
        <source>Filter tree|Shows only the items whose names hold the text typed, with their ancestors</source>
        <translation>Baum filtern|Zeigt nur die Elemente, deren Name den eingegebenen Text enthält, mit ihren Vorfahren</translation>
    </message>
</context>
<context>
    <name>TApplication</name>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>TAutoSave</name>
    <message>
        <source>Saved automatically at %1</source>
        <translation>Automatisch gespeichert um %1</translation>
    </message>
</context>
<context>
    <name>TCollapseSplitter</name>
    <message>
        <source>Fold handle</source>
        <translation>Einklappgriff</translation>
    </message>
    <message>
        <source>Its button folds the pane on the left away or brings it back</source>
        <translation>Sein Knopf klappt den linken Bereich weg oder holt ihn zurück</translation>
    </message>
</context>
<context>
    <name>TCollapseToolBar</name>
    <message>
        <source>Fold handle</source>
        <translation>Einklappgriff</translation>
    </message>
    <message>
        <source>Folds the toolbar away or brings it back</source>
        <translation>Klappt die Werkzeugleiste weg oder holt sie zurück</translation>
    </message>
</context>
<context>
    <name>TCommandTable</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>the command and the step it takes</comment>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>TDescriptionLinks</name>
    <message>
        <source>No item is named &quot;%1&quot;. Create it under &quot;%2&quot;?</source>
        <translation>Kein Element heißt „%1“. Unter „%2“ anlegen?</translation>
    </message>
    <message>
        <source>Open Link</source>
        <translation>Link öffnen</translation>
    </message>
    <message>
        <source>Copy Link Address</source>
        <translation>Link-Adresse kopieren</translation>
    </message>
</context>
<context>
    <name>TDescriptionPane</name>
    <message>
        <source>Text exceeds memo capacity</source>
        <translation>Der Text übersteigt die Kapazität des Editors</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Cannot find &quot;%1&quot;</source>
        <translation>„%1“ nicht gefunden</translation>
    </message>
    <message>
        <source>No item is focused</source>
        <translation>Kein Element hat den Fokus</translation>
    </message>
    <message>
        <source>The description of the item %1</source>
        <translation>Die Beschreibung des Elements %1</translation>
    </message>
</context>
<context>
    <name>TDescriptionSpelling</name>
    <message>
        <source>No spelling dictionary is installed: install one of the hunspell-* packages, such as hunspell-en-us, and start the program again.</source>
        <translation>Es ist kein Wörterbuch für die Rechtschreibprüfung installiert: Installieren Sie eines der Pakete hunspell-*, etwa hunspell-de-de, und starten Sie das Programm neu.</translation>
    </message>
    <message>
        <source>(No Suggestions)</source>
        <translation>(Keine Vorschläge)</translation>
    </message>
    <message>
        <source>Add to Dictionary</source>
        <translation>Zum Wörterbuch hinzufügen</translation>
    </message>
    <message>
        <source>Ignore All</source>
        <translation>Alle ignorieren</translation>
    </message>
    <message>
        <source>This document is protected by a password, but the personal dictionary is kept without protection. Add &quot;%1&quot; to it anyway?</source>
        <translation>Dieses Dokument ist durch ein Passwort geschützt, aber das persönliche Wörterbuch wird ungeschützt gespeichert. „%1“ trotzdem hinzufügen?</translation>
    </message>
</context>
<context>
    <name>TDocumentProtection</name>
    <message>
        <source>Protected</source>
        <translation>Geschützt</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>%1 is protected by a password. Password:</source>
        <translation>%1 ist durch ein Passwort geschützt. Passwort:</translation>
    </message>
    <message>
        <source>Set Password</source>
        <translation>Passwort festlegen</translation>
    </message>
    <message>
        <source>New password:</source>
        <translation>Neues Passwort:</translation>
    </message>
    <message>
        <source>Repeat the password:</source>
        <translation>Passwort wiederholen:</translation>
    </message>
    <message>
        <source>The passwords do not match. The password was not changed</source>
        <translation>Die Passwörter stimmen nicht überein. Das Passwort wurde nicht geändert</translation>
    </message>
    <message>
        <source>The password must not be empty. The password was not changed</source>
        <translation>Das Passwort darf nicht leer sein. Das Passwort wurde nicht geändert</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>This document is protected by a password, but the export writes its text without protection. Export anyway?</source>
        <translation>Dieses Dokument ist durch ein Passwort geschützt, aber der Export schreibt seinen Text ungeschützt. Trotzdem exportieren?</translation>
    </message>
    <message>
        <source>The file %1 is not protected by a password, but the document last opened or saved there was.

Open it without protection? No keeps the document as it is.</source>
        <translation>Die Datei %1 ist nicht durch ein Passwort geschützt, das zuletzt dort geöffnete oder gespeicherte Dokument aber schon.

Ohne Schutz öffnen? Nein lässt das Dokument, wie es ist.</translation>
    </message>
</context>
<context>
    <name>TDocumentSession</name>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
</context>
<context>
    <name>TExportCommands</name>
    <message>
        <source>Export as Multiple Files</source>
        <translation>Als mehrere Dateien exportieren</translation>
    </message>
</context>
<context>
    <name>TFileCommands</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Loading %1 ... %2 s</source>
        <translation>%1 wird geladen ... %2 s</translation>
    </message>
    <message>
        <source>Do you want to save the changes?</source>
        <translation>Möchten Sie die Änderungen speichern?</translation>
    </message>
    <message>
        <source>%1 no longer exists. It is removed from the recent files.</source>
        <translation>%1 existiert nicht mehr. Die Datei wird aus der Liste der zuletzt geöffneten Dateien entfernt.</translation>
    </message>
</context>
<context>
    <name>TFileDialog</name>
    <message>
        <source>OPML Files (*.opml)|*.opml|All Files (*.*)|*.*</source>
        <translation>OPML-Dateien (*.opml)|*.opml|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Markdown Files (*.md)|*.md|All Files (*.*)|*.*</source>
        <translation>Markdown-Dateien (*.md)|*.md|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>HTML Files (*.html;*.htm)|*.html;*.htm|All Files (*.*)|*.*</source>
        <translation>HTML-Dateien (*.html;*.htm)|*.html;*.htm|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>VekTreeViewEditor File (*.trd)|*.trd</source>
        <translation>VekTreeViewEditor-Datei (*.trd)|*.trd</translation>
    </message>
    <message>
        <source>Text Files (*.txt)|*.txt|All Files (*.*)|*.*</source>
        <translation>Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>OPML Files (*.opml)|*.opml|Markdown Files (*.md;*.markdown)|*.md;*.markdown|Indented Text Files (*.txt)|*.txt|Tree Data Files (*.trd)|*.trd|All Files (*.*)|*.*</source>
        <translation>OPML-Dateien (*.opml)|*.opml|Markdown-Dateien (*.md;*.markdown)|*.md;*.markdown|Eingerückte Textdateien (*.txt)|*.txt|Baumdatendateien (*.trd)|*.trd|Alle Dateien (*.*)|*.*</translation>
    </message>
</context>
<context>
    <name>TFileDropImport</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weitere</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TFileWatcher</name>
    <message>
        <source>File Changed</source>
        <translation>Datei geändert</translation>
    </message>
    <message>
        <source>The file %1 was changed by another program.

Reload it and lose your changes? No keeps the document as it is.</source>
        <translation>Die Datei %1 wurde von einem anderen Programm geändert.

Neu laden und Ihre Änderungen verwerfen? Nein lässt das Dokument, wie es ist.</translation>
    </message>
    <message>
        <source>The file %1 was changed by another program.

Reload it?</source>
        <translation>Die Datei %1 wurde von einem anderen Programm geändert.

Neu laden?</translation>
    </message>
    <message>
        <source>The file %1 was changed by another program since it was opened or saved.

Overwrite it with this document?</source>
        <translation>Die Datei %1 wurde seit dem Öffnen oder Speichern von einem anderen Programm geändert.

Mit diesem Dokument überschreiben?</translation>
    </message>
</context>
<context>
    <name>TFindAllController</name>
    <message>
        <source>Find in All Items</source>
        <translation>In allen Elementen suchen</translation>
    </message>
</context>
<context>
    <name>TFindAllModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>In</source>
        <translation>In</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>TFindAllPane</name>
    <message>
        <source>Match &amp;case</source>
        <translation>Groß-/&amp;Kleinschreibung</translation>
    </message>
    <message>
        <source>&amp;Whole word</source>
        <translation>&amp;Ganzes Wort</translation>
    </message>
    <message>
        <source>Find in all items</source>
        <translation>In allen Elementen suchen</translation>
    </message>
    <message>
        <source>Names and descriptions</source>
        <translation>Namen und Beschreibungen</translation>
    </message>
    <message>
        <source>Names</source>
        <translation>Namen</translation>
    </message>
    <message>
        <source>Descriptions</source>
        <translation>Beschreibungen</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <comment>matches in items</comment>
        <translation>%1 in %2</translation>
    </message>
    <message numerus="yes">
        <source>%1 match(es)</source>
        <translation>
            <numerusform>%1 Treffer</numerusform>
            <numerusform>%1 Treffer</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 item(s)</source>
        <translation>
            <numerusform>%1 Element</numerusform>
            <numerusform>%1 Elementen</numerusform>
        </translation>
    </message>
    <message>
        <source>; the first %1 are listed, %2 more are not</source>
        <translation>; die ersten %1 sind aufgeführt, %2 weitere nicht</translation>
    </message>
    <message>
        <source>, searching...</source>
        <translation>, Suche läuft...</translation>
    </message>
    <message>
        <source>Look in</source>
        <translation>Suchen in</translation>
    </message>
    <message>
        <source>Matches found</source>
        <translation>Gefundene Treffer</translation>
    </message>
    <message>
        <source>Items found</source>
        <translation>Gefundene Elemente</translation>
    </message>
</context>
<context>
    <name>TFindDialog</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
</context>
<context>
    <name>TFontDialog</name>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>C&amp;olour...</source>
        <translation>&amp;Farbe...</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
</context>
<context>
    <name>TGoToItemPopup</name>
    <message>
        <source>Name of the item</source>
        <translation>Name des Elements</translation>
    </message>
    <message numerus="yes">
        <source>%n matches so far</source>
        <translation>
            <numerusform>%n Treffer bisher</numerusform>
            <numerusform>%n Treffer bisher</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n matches</source>
        <translation>
            <numerusform>%n Treffer</numerusform>
            <numerusform>%n Treffer</numerusform>
        </translation>
    </message>
    <message>
        <source>Go to Item</source>
        <translation>Zu Element gehen</translation>
    </message>
    <message>
        <source>Matching items</source>
        <translation>Passende Elemente</translation>
    </message>
</context>
<context>
    <name>TIconComboBox</name>
    <message>
        <source>Icon</source>
        <translation>Symbol</translation>
    </message>
</context>
<context>
    <name>TImportProgress</name>
    <message>
        <source>Importing dropped files: %1 done</source>
        <translation>Abgelegte Dateien werden importiert: %1 fertig</translation>
    </message>
</context>
<context>
    <name>TItemCommands</name>
    <message numerus="yes">
        <source>Update %n links to %1?</source>
        <translation>
            <numerusform>%n Link auf %1 anpassen?</numerusform>
            <numerusform>%n Links auf %1 anpassen?</numerusform>
        </translation>
    </message>
    <message>
        <source>Warning !</source>
        <translation>Warnung!</translation>
    </message>
    <message>
        <source>Delete selected nodes?</source>
        <translation>Ausgewählte Elemente löschen?</translation>
    </message>
</context>
<context>
    <name>TLinksHereController</name>
    <message>
        <source>Links Here</source>
        <translation>Links auf dieses Element</translation>
    </message>
</context>
<context>
    <name>TLinksHereModel</name>
    <message>
        <source>Item</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>TLinksHerePane</name>
    <message>
        <source>Looking for links to %1...</source>
        <translation>Suche nach Links auf %1...</translation>
    </message>
    <message>
        <source>No links to %1</source>
        <translation>Keine Links auf %1</translation>
    </message>
    <message>
        <source>1 link to %1</source>
        <translation>1 Link auf %1</translation>
    </message>
    <message>
        <source>%1 links to %2</source>
        <translation>%1 Links auf %2</translation>
    </message>
    <message>
        <source>Links Here</source>
        <translation>Links auf dieses Element</translation>
    </message>
</context>
<context>
    <name>TLowerLayerText</name>
    <message>
        <source>Cannot open file %1: %2</source>
        <translation>Die Datei %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Die Datei %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Die Datei %1 kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>Cannot export %1: %2</source>
        <translation>%1 kann nicht exportiert werden: %2</translation>
    </message>
    <message>
        <source>Cannot import %1: line %2, column %3: %4</source>
        <translation>%1 kann nicht importiert werden: Zeile %2, Spalte %3: %4</translation>
    </message>
    <message>
        <source>Cannot import %1: line %2: %3</source>
        <translation>%1 kann nicht importiert werden: Zeile %2: %3</translation>
    </message>
    <message>
        <source>Cannot import %1: %2</source>
        <translation>%1 kann nicht importiert werden: %2</translation>
    </message>
    <message>
        <source>Stream read error: %1</source>
        <translation>Lesefehler: %1</translation>
    </message>
    <message>
        <source>Stream read error</source>
        <translation>Lesefehler</translation>
    </message>
    <message>
        <source>Stream write error: %1</source>
        <translation>Schreibfehler: %1</translation>
    </message>
    <message>
        <source>Stream write error</source>
        <translation>Schreibfehler</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Datei nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Invalid filename: %1</source>
        <translation>Ungültiger Dateiname: %1</translation>
    </message>
    <message>
        <source>Too many open files: %1</source>
        <translation>Zu viele offene Dateien: %1</translation>
    </message>
    <message>
        <source>File access denied: %1</source>
        <translation>Zugriff auf die Datei verweigert: %1</translation>
    </message>
    <message>
        <source>Disk full: %1</source>
        <translation>Datenträger voll: %1</translation>
    </message>
    <message>
        <source>it is protected by a password</source>
        <translation>sie ist durch ein Passwort geschützt</translation>
    </message>
    <message>
        <source>no password given</source>
        <translation>kein Passwort angegeben</translation>
    </message>
    <message>
        <source>the password is wrong or the file is damaged</source>
        <translation>das Passwort ist falsch oder die Datei ist beschädigt</translation>
    </message>
    <message>
        <source>it was made by a newer version of the program</source>
        <translation>sie wurde von einer neueren Version des Programms erstellt</translation>
    </message>
    <message>
        <source>the password is right but the file is damaged at byte %1</source>
        <translation>das Passwort ist richtig, aber die Datei ist bei Byte %1 beschädigt</translation>
    </message>
    <message>
        <source>The password file %1 is larger than 1 KiB</source>
        <translation>Die Passwortdatei %1 ist größer als 1 KiB</translation>
    </message>
    <message>
        <source>The cryptography library cannot start</source>
        <translation>Die Kryptografie-Bibliothek kann nicht starten</translation>
    </message>
    <message>
        <source>the file is larger than %1 bytes</source>
        <translation>die Datei ist größer als %1 Bytes</translation>
    </message>
    <message>
        <source>the text is not valid UTF-8</source>
        <translation>der Text ist kein gültiges UTF-8</translation>
    </message>
    <message>
        <source>not an OPML document</source>
        <translation>kein OPML-Dokument</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1“ ist keine gültige ganze Zahl</translation>
    </message>
    <message>
        <source>The password file %1 is neither a regular file nor a pipe</source>
        <translation>Die Passwortdatei %1 ist weder eine gewöhnliche Datei noch eine Pipe</translation>
    </message>
    <message>
        <source>Cannot read the password file %1</source>
        <translation>Die Passwortdatei %1 kann nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>TMainMenu</name>
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
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>  icon:  </source>
        <translation>  Symbol:  </translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>&amp;Gehe zu</translation>
    </message>
</context>
<context>
    <name>TMenuBuilder</name>
    <message>
        <source>&amp;Theme</source>
        <translation>&amp;Design</translation>
    </message>
</context>
<context>
    <name>TNavigator</name>
    <message>
        <source>Path of the focused item</source>
        <translation>Pfad des Elements mit dem Fokus</translation>
    </message>
</context>
<context>
    <name>TOptionsDialog</name>
    <message>
        <source>&amp;Start with the last document</source>
        <translation>Mit dem &amp;letzten Dokument starten</translation>
    </message>
    <message>
        <source>Save &amp;automatically</source>
        <translation>Automatisch &amp;speichern</translation>
    </message>
    <message>
        <source>&amp;Number the headings when printing</source>
        <translation>Überschriften beim Drucken &amp;nummerieren</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>When no file is given on the command line</source>
        <translation>Wenn auf der Befehlszeile keine Datei angegeben ist</translation>
    </message>
    <message>
        <source> s after the last change</source>
        <translation> s nach der letzten Änderung</translation>
    </message>
    <message>
        <source>Seconds after the last change</source>
        <translation>Sekunden nach der letzten Änderung</translation>
    </message>
</context>
<context>
    <name>TPersonalWords</name>
    <message>
        <source>Cannot write the personal dictionary %1: %2</source>
        <translation>Das persönliche Wörterbuch %1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>TPrintCommands</name>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Only &quot;%1&quot; with its sub-items? No takes the whole tree.</source>
        <translation>Nur „%1“ mit seinen Unterelementen? Nein nimmt den ganzen Baum.</translation>
    </message>
    <message>
        <source>The printer could not be started.</source>
        <translation>Der Drucker konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Laying out the pages...</source>
        <translation>Die Seiten werden aufgebaut...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)|*.pdf</source>
        <translation>PDF-Dateien (*.pdf)|*.pdf</translation>
    </message>
</context>
<context>
    <name>TRecentMenu</name>
    <message>
        <source>Open R&amp;ecent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
</context>
<context>
    <name>TRecoveryManager</name>
    <message>
        <source>Recovery copy not written: %1</source>
        <translation>Wiederherstellungskopie nicht geschrieben: %1</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>%1 was not closed properly. Recover the unsaved changes to %2 from %3?</source>
        <translation>%1 wurde nicht ordnungsgemäß beendet. Die nicht gespeicherten Änderungen an %2 vom %3 wiederherstellen?</translation>
    </message>
    <message>
        <source> It is kept for the next start.</source>
        <translation> Sie wird für den nächsten Start aufbewahrt.</translation>
    </message>
    <message>
        <source>The recovery copy %1 cannot be read. It is kept for you to inspect.</source>
        <translation>Die Wiederherstellungskopie %1 kann nicht gelesen werden. Sie wird aufbewahrt, damit Sie sie prüfen können.</translation>
    </message>
    <message>
        <source>Cannot start another %1 for the recovery copy %2. It is kept for the next start.</source>
        <translation>Ein weiteres %1 für die Wiederherstellungskopie %2 kann nicht gestartet werden. Sie wird für den nächsten Start aufbewahrt.</translation>
    </message>
</context>
<context>
    <name>TReplaceDialog</name>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Re&amp;place with:</source>
        <translation>&amp;Ersetzen durch:</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>E&amp;rsetzen</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>&amp;Alle ersetzen</translation>
    </message>
</context>
<context>
    <name>TSearchDialog</name>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>&amp;Suchen nach:</translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>Nur &amp;ganze Wörter</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Groß-/&amp;Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TSubtreeFocus</name>
    <message>
        <source>Path of the focused subtree</source>
        <translation>Pfad des gezeigten Teilbaums</translation>
    </message>
    <message>
        <source>Whole Tree</source>
        <translation>Ganzer Baum</translation>
    </message>
</context>
<context>
    <name>TTreeFilter</name>
    <message>
        <source>Descriptions</source>
        <translation>Beschreibungen</translation>
    </message>
    <message>
        <source>Filter the tree</source>
        <translation>Baum filtern</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Search the descriptions too</source>
        <translation>Auch in den Beschreibungen suchen</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) match</source>
        <translation>
            <numerusform>%n Element passt</numerusform>
            <numerusform>%n Elemente passen</numerusform>
        </translation>
    </message>
    <message>
        <source>Items that match the filter</source>
        <translation>Elemente, die zum Filter passen</translation>
    </message>
</context>
<context>
    <name>TTreeListAccessible</name>
    <message>
        <source>Items</source>
        <translation>Elemente</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>TTreeListAccessibleRow</name>
    <message>
        <source>Level %1, %2 of %3</source>
        <translation>Ebene %1, %2 von %3</translation>
    </message>
    <message>
        <source>Expand</source>
        <translation>Aufklappen</translation>
    </message>
    <message>
        <source>Collapse</source>
        <translation>Zuklappen</translation>
    </message>
    <message>
        <source>Shows the item&apos;s children</source>
        <translation>Zeigt die Unterelemente des Elements</translation>
    </message>
    <message>
        <source>Hides the item&apos;s children</source>
        <translation>Verbirgt die Unterelemente des Elements</translation>
    </message>
</context>
<context>
    <name>TTreePrinter</name>
    <message>
        <source>Page %1</source>
        <translation>Seite %1</translation>
    </message>
    <message>
        <source>The document changed while it was printed.</source>
        <translation>Das Dokument wurde während des Druckens geändert.</translation>
    </message>
</context>
<context>
    <name>TUndoStep</name>
    <message>
        <source>Typing in %1</source>
        <translation>Eingabe in %1</translation>
    </message>
    <message>
        <source>Load Description</source>
        <translation>Beschreibung laden</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>Alle ersetzen</translation>
    </message>
    <message>
        <source>Drop Files</source>
        <translation>Dateien ablegen</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>New Item</source>
        <translation>Neues Element</translation>
    </message>
    <message>
        <source>New Sub Item</source>
        <translation>Neues Unterelement</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Change Icon</source>
        <translation>Symbol ändern</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Indent</source>
        <translation>Einrücken</translation>
    </message>
    <message>
        <source>Outdent</source>
        <translation>Ausrücken</translation>
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
        <source>Duplicate</source>
        <translation>Duplizieren</translation>
    </message>
    <message>
        <source>Sort Subtree</source>
        <translation>Teilbaum sortieren</translation>
    </message>
    <message>
        <source>Sort Children</source>
        <translation>Unterelemente sortieren</translation>
    </message>
</context>
<context>
    <name>TfrmAboutDlg</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Physical memory:</source>
        <translation>Arbeitsspeicher:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>A note organiser: a tree of items, each with a name, an icon and a free-text description, kept in one tree data file.</source>
        <translation>Ein Notizbaum: Elemente mit Name, Symbol und freier Beschreibung, in einer Baumdatendatei gespeichert.</translation>
    </message>
</context>
<context>
    <name>TfrmTreeViewEditorMain</name>
    <message>
        <source>Change Folder Icon for the Selected Item</source>
        <translation>Symbol des ausgewählten Elements ändern</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source> Folders</source>
        <translation> Ordner</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>Meldungen</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>Nicht gespeicherte Änderungen</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Close Folders</source>
        <translation>Ordner schließen</translation>
    </message>
    <message>
        <source>Password protection</source>
        <translation>Passwortschutz</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Usage: vektreevieweditor [FILE]
       vektreevieweditor --help | --version

Opens FILE, a tree data file (.trd), in the editor&apos;s window.
</source>
        <translation>Aufruf: vektreevieweditor [DATEI]
       vektreevieweditor --help | --version

Öffnet DATEI, eine Baumdatendatei (.trd), im Fenster des Editors.
</translation>
    </message>
</context>
<context>
    <name>trdtool</name>
    <message>
        <source>  export txt|ini|multi FILE TARGET
               write the tree as one text file, one ini file or one file
               per item into the existing folder TARGET
  export opml|md|html FILE TARGET
               write the tree as an OPML outline, a Markdown document or
               one HTML page
</source>
        <translation>  export txt|ini|multi DATEI ZIEL
               den Baum als eine Textdatei, eine INI-Datei oder eine Datei
               je Element in den vorhandenen Ordner ZIEL schreiben
  export opml|md|html DATEI ZIEL
               den Baum als OPML-Gliederung, als Markdown-Dokument oder
               als eine HTML-Seite schreiben
</translation>
    </message>
    <message>
        <source>Usage: trdtool export txt|ini|multi|opml|md|html FILE TARGET
</source>
        <translation>Aufruf: trdtool export txt|ini|multi|opml|md|html DATEI ZIEL
</translation>
    </message>
    <message>
        <source>  import opml|md|txt|trd SOURCE OUT
               read an OPML outline, a Markdown document, indented text
               or a tree data file and save its items as the tree data
               file OUT
</source>
        <translation>  import opml|md|txt|trd QUELLE AUS
               eine OPML-Gliederung, ein Markdown-Dokument, eingerückten
               Text oder eine Baumdatendatei lesen und ihre Elemente als
               Baumdatendatei AUS speichern
</translation>
    </message>
    <message>
        <source>Usage: trdtool import opml|md|txt|trd SOURCE OUT
</source>
        <translation>Aufruf: trdtool import opml|md|txt|trd QUELLE AUS
</translation>
    </message>
    <message>
        <source>Usage: trdtool [--password-file PWFILE] COMMAND ARGUMENTS
       trdtool --help | --version

The password of a protected file is asked on the terminal, or is the
first line of PWFILE.

Commands:
  dump FILE    print every item in document order
  check FILE   print the number of items and the file variant
  encrypt IN OUT
               write IN protected by a new password as OUT
  decrypt IN OUT
               write the protected IN without protection as OUT
</source>
        <translation>Aufruf: trdtool [--password-file PWDATEI] BEFEHL ARGUMENTE
       trdtool --help | --version

Das Passwort einer geschützten Datei wird im Terminal erfragt oder ist
die erste Zeile von PWDATEI.

Befehle:
  dump DATEI   jedes Element in der Reihenfolge des Dokuments ausgeben
  check DATEI  die Zahl der Elemente und die Dateivariante ausgeben
  encrypt EIN AUS
               EIN durch ein neues Passwort geschützt als AUS schreiben
  decrypt EIN AUS
               die geschützte Datei EIN ohne Schutz als AUS schreiben
</translation>
    </message>
    <message>
        <source>No terminal to ask the password on; use --password-file</source>
        <translation>Kein Terminal, um nach dem Passwort zu fragen; --password-file verwenden</translation>
    </message>
    <message>
        <source>No password given</source>
        <translation>Kein Passwort angegeben</translation>
    </message>
    <message>
        <source>Password for %1: </source>
        <translation>Passwort für %1: </translation>
    </message>
    <message>
        <source>New password for %1: </source>
        <translation>Neues Passwort für %1: </translation>
    </message>
    <message>
        <source>Repeat the password: </source>
        <translation>Passwort wiederholen: </translation>
    </message>
    <message>
        <source>The passwords do not match</source>
        <translation>Die Passwörter stimmen nicht überein</translation>
    </message>
    <message>
        <source>The password is empty</source>
        <translation>Das Passwort ist leer</translation>
    </message>
    <message numerus="yes">
        <source>%1 items, protected</source>
        <translation>
            <numerusform>%1 Element, geschützt</numerusform>
            <numerusform>%1 Elemente, geschützt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 items, current variant</source>
        <translation>
            <numerusform>%1 Element, aktuelle Variante</numerusform>
            <numerusform>%1 Elemente, aktuelle Variante</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 items, old variant</source>
        <translation>
            <numerusform>%1 Element, alte Variante</numerusform>
            <numerusform>%1 Elemente, alte Variante</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 is not protected by a password</source>
        <translation>%1 ist nicht durch ein Passwort geschützt</translation>
    </message>
    <message>
        <source>Warning: others than you can read the password file %1.</source>
        <translation>Warnung: Nicht nur Sie können die Passwortdatei %1 lesen.</translation>
    </message>
</context>
</TS>
