<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>ChapterJoin</name>
    <message>
        <source>The chapter %1 does not continue the previous one (its timestamps go back); it cannot be joined.</source>
        <translation>Das Kapitel %1 setzt das vorige nicht fort (seine Zeitstempel gehen zurück); es kann nicht angefügt werden.</translation>
    </message>
    <message>
        <source>%1 has no video.</source>
        <translation>%1 enthält kein Video.</translation>
    </message>
    <message>
        <source>The chapter %1 could not be read: %2</source>
        <translation>Das Kapitel %1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Could not write the joined video %1: %2</source>
        <translation>Das zusammengefügte Video %1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The chapter %1 has other streams or codec parameters than the first chapter; it cannot be joined.</source>
        <translation>Das Kapitel %1 hat andere Spuren oder Codec-Parameter als das erste Kapitel; es kann nicht angefügt werden.</translation>
    </message>
    <message>
        <source>There is nothing to join.</source>
        <translation>Es gibt nichts zusammenzufügen.</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Nicht genügend Arbeitsspeicher.</translation>
    </message>
    <message>
        <source>%1 has no stream that can be joined.</source>
        <translation>%1 hat keine Spur, die sich zusammenfügen lässt.</translation>
    </message>
    <message>
        <source>the file is cut short or damaged</source>
        <translation>die Datei ist abgeschnitten oder beschädigt</translation>
    </message>
    <message>
        <source>the file is cut short (%1 of %2 frames)</source>
        <translation>die Datei ist abgeschnitten (%1 von %2 Bildern)</translation>
    </message>
    <message>
        <source>The joined video %1 does not match its chapters (%2).</source>
        <translation>Das zusammengefügte Video %1 stimmt nicht mit seinen Kapiteln überein (%2).</translation>
    </message>
    <message>
        <source>The joined video %1 could not be read back: %2</source>
        <translation>Das zusammengefügte Video %1 konnte nicht zurückgelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 streams instead of %2</source>
        <translation>%1 Spuren statt %2</translation>
    </message>
    <message>
        <source>stream %1 has another codec</source>
        <translation>Spur %1 hat einen anderen Codec</translation>
    </message>
    <message>
        <source>the timecode is not %1</source>
        <translation>der Timecode ist nicht %1</translation>
    </message>
    <message>
        <source>%1 s long instead of %2 s</source>
        <translation>%1 s lang statt %2 s</translation>
    </message>
    <message>
        <source>packets of stream %1 overlap others</source>
        <translation>Pakete der Spur %1 überlappen andere</translation>
    </message>
    <message>
        <source>it ends inside a packet of stream %1</source>
        <translation>es endet innerhalb eines Pakets der Spur %1</translation>
    </message>
    <message>
        <source>stream %1 has %2 packets instead of %3</source>
        <translation>Spur %1 hat %2 Pakete statt %3</translation>
    </message>
    <message>
        <source>the bytes of stream %1 differ</source>
        <translation>die Bytes der Spur %1 weichen ab</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>No such file or folder</source>
        <translation>Datei oder Ordner nicht vorhanden</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>No space left on the disk</source>
        <translation>Kein Platz mehr auf dem Datenträger</translation>
    </message>
    <message>
        <source>The disk is read-only</source>
        <translation>Der Datenträger ist schreibgeschützt</translation>
    </message>
    <message>
        <source>Not a video Velarix can read, or a damaged one</source>
        <translation>Kein Video, das Velarix lesen kann, oder ein beschädigtes</translation>
    </message>
    <message>
        <source>In use by another program</source>
        <translation>Von einem anderen Programm belegt</translation>
    </message>
    <message>
        <source>The device failed to read or write</source>
        <translation>Das Gerät konnte nicht lesen oder schreiben</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 is locked by another process.</source>
        <translation>%1 ist von einem anderen Prozess gesperrt.</translation>
    </message>
    <message>
        <source>The name “%1” is not valid UTF-8 (written by another system?), so Velarix cannot be sure to reach that very file, and leaves it alone. Rename it in UTF-8 (for example: convmv -f latin1 -t utf-8 --notest FILE).</source>
        <translation>Der Name „%1“ ist kein gültiges UTF-8 (von einem anderen System geschrieben?), daher kann Velarix nicht sicher sein, genau diese Datei zu erreichen, und lässt sie unberührt. Benennen Sie sie in UTF-8 um (zum Beispiel: convmv -f latin1 -t utf-8 --notest DATEI).</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>read</source>
        <translation>gelesen</translation>
    </message>
    <message>
        <source>opened</source>
        <translation>geöffnet</translation>
    </message>
    <message>
        <source>%1 is not a Velarix history store.</source>
        <translation>%1 ist kein Verlaufsspeicher von Velarix.</translation>
    </message>
    <message>
        <source>%1 was written by a newer version of Velarix (schema %2); this version reads schema %3.</source>
        <translation>%1 wurde von einer neueren Version von Velarix geschrieben (Schema %2); diese Version liest Schema %3.</translation>
    </message>
    <message>
        <source>The folder %1 could not be created.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>%1 could not be moved aside: %2</source>
        <translation>%1 konnte nicht beiseitegelegt werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be moved aside.</source>
        <translation>%1 konnte nicht beiseitegelegt werden.</translation>
    </message>
    <message>
        <source>written</source>
        <translation>geschrieben</translation>
    </message>
    <message>
        <source>saved</source>
        <translation>gespeichert</translation>
    </message>
    <message>
        <source>The history store %1 is in use by another Velarix process (still busy after %2 seconds), so it could not be %3.</source>
        <translation>Der Verlaufsspeicher %1 wird von einem anderen Velarix-Prozess verwendet (nach %2 Sekunden noch belegt), daher konnte er nicht %3 werden.</translation>
    </message>
    <message>
        <source>The history store %1 is damaged (%2).</source>
        <translation>Der Verlaufsspeicher %1 ist beschädigt (%2).</translation>
    </message>
    <message>
        <source>The history store %1 could not be %2: %3.</source>
        <translation>Der Verlaufsspeicher %1 konnte nicht %2 werden: %3.</translation>
    </message>
    <message>
        <source>upgraded to schema %1</source>
        <translation>auf Schema %1 aktualisiert</translation>
    </message>
    <message>
        <source>%1 has the unknown schema %2; this version of Velarix reads schema %3.</source>
        <translation>%1 hat das unbekannte Schema %2; diese Version von Velarix liest Schema %3.</translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message>
        <source>Neither the identity nor the size of %1 could be read.</source>
        <translation>Weder die Kennung noch die Größe von %1 konnte gelesen werden.</translation>
    </message>
    <message>
        <source>Another import from this card is already running (in Velarix or velarix-cli). Nothing was copied; import again when it has finished.</source>
        <translation>Von dieser Karte läuft bereits ein anderer Import (in Velarix oder velarix-cli). Es wurde nichts kopiert; importieren Sie erneut, wenn er beendet ist.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>Die Datei ist leer.</translation>
    </message>
    <message>
        <source>%1 is not a file.</source>
        <translation>%1 ist keine Datei.</translation>
    </message>
    <message>
        <source>The manifest is larger than 64 KiB.</source>
        <translation>Das Manifest ist größer als 64 KiB.</translation>
    </message>
    <message>
        <source>The data isn&apos;t valid JSON: %1</source>
        <translation>Die Daten sind kein gültiges JSON: %1</translation>
    </message>
    <message>
        <source>The data isn&apos;t a JSON object.</source>
        <translation>Die Daten sind kein JSON-Objekt.</translation>
    </message>
    <message>
        <source>No value associated with key &quot;name&quot;.</source>
        <translation>Kein Wert zum Schlüssel &quot;name&quot;.</translation>
    </message>
    <message>
        <source>Expected a string for key &quot;name&quot;.</source>
        <translation>Für den Schlüssel &quot;name&quot; wurde eine Zeichenkette erwartet.</translation>
    </message>
    <message>
        <source>chapter %1 of recording %2 is missing</source>
        <translation>Kapitel %1 der Aufnahme %2 fehlt</translation>
    </message>
    <message>
        <source>its streams or codec parameters differ from those of %1 (%2 against %3)</source>
        <translation>seine Spuren oder Codec-Parameter weichen von denen von %1 ab (%2 gegenüber %3)</translation>
    </message>
    <message>
        <source>an earlier chapter of recording %1 cannot be joined</source>
        <translation>ein früheres Kapitel der Aufnahme %1 kann nicht angefügt werden</translation>
    </message>
    <message>
        <source>Reading the card failed (%1): the card was removed.</source>
        <translation>Das Lesen der Karte ist fehlgeschlagen (%1): Die Karte wurde entfernt.</translation>
    </message>
    <message>
        <source>Reading the card failed (%1), and the card no longer answers: check that it is still in, then try again.</source>
        <translation>Das Lesen der Karte ist fehlgeschlagen (%1), und die Karte antwortet nicht mehr: Prüfen Sie, ob sie noch steckt, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Reading the card failed (%1). The card is still in, so it may be damaged: try again, or copy the file with another card reader.</source>
        <translation>Das Lesen der Karte ist fehlgeschlagen (%1). Die Karte steckt noch, sie ist also vielleicht beschädigt: Versuchen Sie es erneut oder kopieren Sie die Datei mit einem anderen Kartenleser.</translation>
    </message>
    <message>
        <source>Invalid file size</source>
        <translation>Ungültige Dateigröße</translation>
    </message>
    <message>
        <source>The file changed while it was copied (%1 of %2 bytes read); was the card removed?</source>
        <translation>Die Datei hat sich während des Kopierens geändert (%1 von %2 Bytes gelesen); wurde die Karte entfernt?</translation>
    </message>
    <message>
        <source>The copy does not match the original (checksum mismatch).</source>
        <translation>Die Kopie stimmt nicht mit dem Original überein (Prüfsummen weichen ab).</translation>
    </message>
    <message>
        <source>No free name for %1 in %2: %3 up to %4 are all taken.</source>
        <translation>Kein freier Name für %1 in %2: %3 bis %4 sind alle vergeben.</translation>
    </message>
    <message>
        <source>%1: Invalid file size</source>
        <translation>%1: Ungültige Dateigröße</translation>
    </message>
</context>
<context>
    <name>Media</name>
    <message>
        <source>No frame within %1 s.</source>
        <translation>Kein Bild innerhalb von %1 s.</translation>
    </message>
    <message>
        <source>The file has no video stream.</source>
        <translation>Die Datei hat keine Videospur.</translation>
    </message>
    <message>
        <source>The video&apos;s format cannot be decoded.</source>
        <translation>Das Format des Videos kann nicht dekodiert werden.</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Nicht genügend Arbeitsspeicher.</translation>
    </message>
    <message>
        <source>The video decoder could not be opened: %1</source>
        <translation>Der Videodekoder konnte nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>The frame could not be converted.</source>
        <translation>Das Bild konnte nicht umgewandelt werden.</translation>
    </message>
    <message>
        <source>Seeking to the frame failed.</source>
        <translation>Das Springen zum Bild ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Die Datei %1 existiert nicht.</translation>
    </message>
    <message>
        <source>%1 is not a file.</source>
        <translation>%1 ist keine Datei.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2</source>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be opened as a video: %2</source>
        <translation>%1 konnte nicht als Video geöffnet werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be read as a video: %2</source>
        <translation>%1 konnte nicht als Video gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 has no known duration.</source>
        <translation>Die Dauer von %1 ist unbekannt.</translation>
    </message>
    <message>
        <source>The recording was cut short (a flat battery or the card taken out while filming?): the camera never wrote its index. Put the card back in the camera: many cameras repair such a file when they start.</source>
        <translation>Die Aufnahme wurde abgebrochen (leerer Akku oder Karte während des Filmens entnommen?): Die Kamera hat ihren Index nie geschrieben. Stecken Sie die Karte wieder in die Kamera: Viele Kameras reparieren eine solche Datei beim Einschalten.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>Die Datei ist leer.</translation>
    </message>
    <message>
        <source>Not a video Velarix can read (%1).</source>
        <translation>Kein Video, das Velarix lesen kann (%1).</translation>
    </message>
    <message>
        <source>The file holds no video.</source>
        <translation>Die Datei enthält kein Video.</translation>
    </message>
    <message>
        <source>Not a video Velarix can read (its length is not stated in it).</source>
        <translation>Kein Video, das Velarix lesen kann (seine Länge ist nicht angegeben).</translation>
    </message>
    <message>
        <source>The recording is cut short: the file has %1 of its %2.</source>
        <translation>Die Aufnahme ist abgeschnitten: Die Datei hat %1 von ihren %2.</translation>
    </message>
    <message>
        <source>No thumbnail for %1: %2</source>
        <translation>Keine Vorschau für %1: %2</translation>
    </message>
    <message>
        <source>the video has no decodable frame</source>
        <translation>das Video hat kein dekodierbares Bild</translation>
    </message>
    <message>
        <source>the requested size is empty</source>
        <translation>die angeforderte Größe ist leer</translation>
    </message>
    <message>
        <source>it has no video stream that can be decoded</source>
        <translation>es hat keine dekodierbare Videospur</translation>
    </message>
    <message>
        <source>the decoder could not be set up</source>
        <translation>der Dekoder konnte nicht eingerichtet werden</translation>
    </message>
    <message>
        <source>the frame has no size</source>
        <translation>das Bild hat keine Größe</translation>
    </message>
    <message>
        <source>the frame&apos;s pixel format cannot be converted</source>
        <translation>das Pixelformat des Bildes kann nicht umgewandelt werden</translation>
    </message>
    <message>
        <source>the frame could not be scaled</source>
        <translation>das Bild konnte nicht skaliert werden</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Altitude %1–%2 m</source>
        <translation>Höhe %1–%2 m</translation>
    </message>
    <message>
        <source>Acceleration, up to %1 g</source>
        <translation>Beschleunigung, bis %1 g</translation>
    </message>
    <message>
        <source>MP4, MOV and 360 videos (*.mp4 *.MP4 *.mov *.MOV *.360 *.insv *.INSV)</source>
        <translation>MP4-, MOV- und 360-Videos (*.mp4 *.MP4 *.mov *.MOV *.360 *.insv *.INSV)</translation>
    </message>
    <message>
        <source>MPEG-4 movies (*.mp4 *.MP4 *.m4v *.M4V)</source>
        <translation>MPEG-4-Filme (*.mp4 *.MP4 *.m4v *.M4V)</translation>
    </message>
    <message>
        <source>Movies (*.mp4 *.MP4 *.m4v *.mov *.MOV *.mkv *.avi *.webm *.mts *.MTS *.mpg *.mpeg *.360 *.insv)</source>
        <translation>Filme (*.mp4 *.MP4 *.m4v *.mov *.MOV *.mkv *.avi *.webm *.mts *.MTS *.mpg *.mpeg *.360 *.insv)</translation>
    </message>
    <message>
        <source>360 videos (*.360 *.insv *.INSV)</source>
        <translation>360-Videos (*.360 *.insv *.INSV)</translation>
    </message>
</context>
<context>
    <name>Trash</name>
    <message>
        <source>The Trash folder %1 cannot be used: %2.</source>
        <translation>Der Papierkorb-Ordner %1 kann nicht verwendet werden: %2.</translation>
    </message>
    <message>
        <source>There is no Trash on the file system at %1 (%2 cannot be made: %3).</source>
        <translation>Auf dem Dateisystem unter %1 gibt es keinen Papierkorb (%2 kann nicht angelegt werden: %3).</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The Trash at %1 is on another file system.</source>
        <translation>Der Papierkorb unter %1 liegt auf einem anderen Dateisystem.</translation>
    </message>
    <message>
        <source>The Trash at %1 cannot be written: %2.</source>
        <translation>In den Papierkorb unter %1 kann nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>The file system of %1 cannot keep the original while the trimmed copy takes its place (%2).</source>
        <translation>Das Dateisystem von %1 kann das Original nicht behalten, während die gekürzte Kopie seinen Platz einnimmt (%2).</translation>
    </message>
    <message>
        <source>The Trash at %1 holds too many files named %2.</source>
        <translation>Der Papierkorb unter %1 enthält zu viele Dateien namens %2.</translation>
    </message>
    <message>
        <source>Could not move %1 to the Trash: %2</source>
        <translation>%1 konnte nicht in den Papierkorb verschoben werden: %2</translation>
    </message>
</context>
<context>
    <name>TrimAnalysis</name>
    <message>
        <source>Unable to prepare the audio reader.</source>
        <translation>Der Audioleser konnte nicht vorbereitet werden.</translation>
    </message>
    <message>
        <source>Audio analysis failed to start.</source>
        <translation>Die Audioanalyse konnte nicht starten.</translation>
    </message>
    <message>
        <source>Audio analysis failed.</source>
        <translation>Die Audioanalyse ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Audio analysis for %1 exceeded %2 seconds.</source>
        <translation>Die Tonanalyse von %1 dauerte länger als %2 Sekunden.</translation>
    </message>
</context>
<context>
    <name>TrimCommand</name>
    <message>
        <source>Saved %1.</source>
        <translation>%1 gespart.</translation>
    </message>
    <message>
        <source>%1 will be freed when the Trash is emptied.</source>
        <translation>%1 werden frei, sobald der Papierkorb geleert wird.</translation>
    </message>
    <message>
        <source>Saved %1; %2 more will be freed when the Trash is emptied.</source>
        <translation>%1 gespart; weitere %2 werden frei, sobald der Papierkorb geleert wird.</translation>
    </message>
    <message>
        <source>%1; %2 will be freed when the Trash is emptied</source>
        <translation>%1; %2 werden frei, sobald der Papierkorb geleert wird</translation>
    </message>
    <message>
        <source>--range takes START-END, e.g. 40-150 or 00:40-02:30</source>
        <translation>--range erwartet START-ENDE, z. B. 40-150 oder 00:40-02:30</translation>
    </message>
    <message>
        <source>--range &apos;%1&apos; is missing its %2; give both, e.g. 40-150 or 00:40-02:30</source>
        <translation>--range &apos;%1&apos; fehlt der %2; gib beide an, z. B. 40-150 oder 00:40-02:30</translation>
    </message>
    <message>
        <source>start</source>
        <translation>Anfang</translation>
    </message>
    <message>
        <source>end</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>--range &apos;%1&apos; is not START-END in seconds or minutes:seconds</source>
        <translation>--range &apos;%1&apos; ist nicht START-ENDE in Sekunden oder Minuten:Sekunden</translation>
    </message>
    <message>
        <source>--range &apos;%1&apos; ends before it starts</source>
        <translation>--range &apos;%1&apos; endet, bevor es beginnt</translation>
    </message>
    <message>
        <source>%1 (%2 bytes)</source>
        <translation>%1 (%2 Bytes)</translation>
    </message>
    <message>
        <source>%1 %2 skipped: the suggested range may leave out part of the jump. Look with `velarix-cli analyze`, then trim with --range, or pass --trust-suggestions.
</source>
        <translation>%1 %2 übersprungen: Der vorgeschlagene Bereich könnte einen Teil des Sprungs auslassen. Sieh ihn dir mit `velarix-cli analyze` an und kürze dann mit --range, oder gib --trust-suggestions an.
</translation>
    </message>
    <message>
        <source>file was</source>
        <translation>Datei wurde</translation>
    </message>
    <message>
        <source>files were</source>
        <translation>Dateien wurden</translation>
    </message>
    <message>
        <source>%1 has no video, only sound or data, so there is nothing to trim.</source>
        <translation>%1 hat kein Video, nur Ton oder Daten, daher gibt es nichts zu kürzen.</translation>
    </message>
    <message>
        <source>%1 is still being written by another program, so it was left as it is. Trim it once that program is done with it.</source>
        <translation>%1 wird noch von einem anderen Programm geschrieben und wurde daher nicht verändert. Kürze es, sobald dieses Programm damit fertig ist.</translation>
    </message>
    <message>
        <source>Would trim: removes %1 %, saves about %2</source>
        <translation>Würde gekürzt: entfernt %1 %, spart etwa %2</translation>
    </message>
    <message>
        <source>Not an MP4, MOV or 360 video, left alone.</source>
        <translation>Kein MP4-, MOV- oder 360-Video, nicht verändert.</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Die Datei %1 existiert nicht.</translation>
    </message>
    <message>
        <source>Not a readable video.</source>
        <translation>Kein lesbares Video.</translation>
    </message>
    <message>
        <source>The range ends after the clip, which is %1 long.</source>
        <translation>Der Bereich endet nach dem Clip, der %1 lang ist.</translation>
    </message>
    <message>
        <source>Trimming %1</source>
        <translation>%1 wird gekürzt</translation>
    </message>
    <message>
        <source>Trimming %1 %2 %</source>
        <translation>%1 wird gekürzt, %2 %</translation>
    </message>
    <message>
        <source>Trimmed in place</source>
        <translation>An Ort und Stelle gekürzt</translation>
    </message>
    <message>
        <source>Trimmed in place, %1 chapters joined into %2</source>
        <translation>An Ort und Stelle gekürzt, %1 Kapitel zu %2 zusammengefügt</translation>
    </message>
    <message>
        <source>Analysing %1/%2</source>
        <translation>Analysiere %1/%2</translation>
    </message>
    <message>
        <source>Trimming %1/%2</source>
        <translation>%1/%2 wird gekürzt</translation>
    </message>
    <message>
        <source>Skipped: check before trimming (%1).</source>
        <translation>Übersprungen: vor dem Kürzen prüfen (%1).</translation>
    </message>
    <message>
        <source>Not trimmed</source>
        <translation>Nicht gekürzt</translation>
    </message>
    <message>
        <source>The suggestion removes less than 15 seconds, left alone.</source>
        <translation>Der Vorschlag entfernt weniger als 15 Sekunden, nicht verändert.</translation>
    </message>
    <message>
        <source>Would trim %1 of %2 videos, saving about %3.
</source>
        <translation>Würde %1 von %2 Videos kürzen und etwa %3 sparen.
</translation>
    </message>
    <message>
        <source>trim: --range needs START-END, e.g. 40-150</source>
        <translation>trim: --range erwartet START-ENDE, z. B. 40-150</translation>
    </message>
    <message>
        <source>trim: unknown option &apos;%1&apos;</source>
        <translation>trim: unbekannte Option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>trim: no video files given</source>
        <translation>trim: keine Videodateien angegeben</translation>
    </message>
</context>
<context>
    <name>TrimExport</name>
    <message>
        <source>The chapter %1 has other streams or codec parameters than the first chapter, %2; the recording cannot be trimmed as one video.</source>
        <translation>Das Kapitel %1 hat andere Spuren oder Codec-Parameter als das erste Kapitel, %2; die Aufnahme kann nicht als ein Video gekürzt werden.</translation>
    </message>
    <message>
        <source>Could not seek to the start of the range: %1</source>
        <translation>Der Anfang des Bereichs konnte nicht angesprungen werden: %1</translation>
    </message>
    <message>
        <source>Unable to create an export session.</source>
        <translation>Es konnte keine Exportsitzung erstellt werden.</translation>
    </message>
    <message>
        <source>Could not seek to the start of the range in %1: %2</source>
        <translation>Der Anfang des Bereichs in %1 konnte nicht angesprungen werden: %2</translation>
    </message>
    <message>
        <source>Could not read the video: %1</source>
        <translation>Das Video konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Could not read %1: %2</source>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Could not read %1: the file is cut short or damaged.</source>
        <translation>%1 konnte nicht gelesen werden: Die Datei ist abgeschnitten oder beschädigt.</translation>
    </message>
    <message>
        <source>Could not write the trimmed copy %1: %2</source>
        <translation>Die gekürzte Kopie %1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Could not end the trimmed copy %1 at the range&apos;s end: %2</source>
        <translation>Die gekürzte Kopie %1 konnte nicht am Ende des Bereichs beendet werden: %2</translation>
    </message>
    <message>
        <source>its movie header is unreadable or not at the end</source>
        <translation>ihr Film-Header ist unlesbar oder nicht am Ende</translation>
    </message>
    <message>
        <source>its movie header has no duration</source>
        <translation>ihr Film-Header hat keine Dauer</translation>
    </message>
    <message>
        <source>its movie header changed size</source>
        <translation>ihr Film-Header hat seine Größe geändert</translation>
    </message>
    <message>
        <source>Could not carry the camera data over to %1: %2</source>
        <translation>Die Kameradaten konnten nicht nach %1 übernommen werden: %2</translation>
    </message>
    <message>
        <source>track %1 is missing</source>
        <translation>Spur %1 fehlt</translation>
    </message>
    <message>
        <source>track %1 has an unusual layout</source>
        <translation>Spur %1 ist ungewöhnlich aufgebaut</translation>
    </message>
    <message>
        <source>the source&apos;s movie header is unreadable</source>
        <translation>der Film-Header der Quelle ist unlesbar</translation>
    </message>
    <message>
        <source>its movie header is unreadable</source>
        <translation>ihr Film-Header ist unlesbar</translation>
    </message>
    <message>
        <source>the movie header is not at the end of the file</source>
        <translation>der Film-Header steht nicht am Ende der Datei</translation>
    </message>
    <message>
        <source>The timecode track could not be read.</source>
        <translation>Die Timecode-Spur konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Nicht genügend Arbeitsspeicher.</translation>
    </message>
    <message>
        <source>Unable to create an export session. (%1)</source>
        <translation>Es konnte keine Exportsitzung erstellt werden. (%1)</translation>
    </message>
    <message>
        <source>Could not decode the video for re-encoding</source>
        <translation>Das Video konnte zum Neukodieren nicht dekodiert werden</translation>
    </message>
    <message>
        <source>Could not re-encode the video</source>
        <translation>Das Video konnte nicht neu kodiert werden</translation>
    </message>
    <message>
        <source>no decoder for its codec</source>
        <translation>kein Dekoder für seinen Codec</translation>
    </message>
    <message>
        <source>the decoder could not be opened</source>
        <translation>der Dekoder konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>the encoder could not be opened</source>
        <translation>der Kodierer konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>no output stream</source>
        <translation>keine Ausgabespur</translation>
    </message>
    <message>
        <source>the encoder could not be set up</source>
        <translation>der Kodierer konnte nicht eingerichtet werden</translation>
    </message>
    <message>
        <source>libx264 is not available</source>
        <translation>libx264 ist nicht verfügbar</translation>
    </message>
    <message>
        <source>Could not convert the picture</source>
        <translation>Das Bild konnte nicht umgewandelt werden</translation>
    </message>
    <message>
        <source>no AAC encoder</source>
        <translation>kein AAC-Kodierer</translation>
    </message>
    <message>
        <source>the resampler could not be set up</source>
        <translation>der Resampler konnte nicht eingerichtet werden</translation>
    </message>
    <message>
        <source>Could not convert the sound</source>
        <translation>Der Ton konnte nicht umgewandelt werden</translation>
    </message>
    <message>
        <source>only video and sound can be re-encoded</source>
        <translation>nur Video und Ton können neu kodiert werden</translation>
    </message>
    <message>
        <source>Not trimmed, because its original could not be kept in the Trash: %1 With “Keep originals in the Trash” off it can be trimmed, and its original deleted.</source>
        <translation>Nicht gekürzt, weil das Original nicht im Papierkorb behalten werden konnte: %1 Mit ausgeschaltetem „Originale im Papierkorb behalten“ kann es gekürzt und das Original gelöscht werden.</translation>
    </message>
    <message>
        <source>Not trimmed, because the chapter %1 could not be kept in the Trash: %2</source>
        <translation>Nicht gekürzt, weil das Kapitel %1 nicht im Papierkorb behalten werden konnte: %2</translation>
    </message>
    <message>
        <source>The %1 of %2, left behind by an interrupted trim, was moved to the Trash.</source>
        <translation>Das %1 von %2, von einem unterbrochenen Kürzen übrig geblieben, wurde in den Papierkorb verschoben.</translation>
    </message>
    <message>
        <source>The %1 of %2, left behind by an interrupted trim, was kept as %3.</source>
        <translation>Das %1 von %2, von einem unterbrochenen Kürzen übrig geblieben, wurde als %3 behalten.</translation>
    </message>
    <message>
        <source>The %1 of %2, left behind by an interrupted trim, could not be kept beside it (%3); it stays in %4.</source>
        <translation>Das %1 von %2, von einem unterbrochenen Kürzen übrig geblieben, konnte nicht daneben behalten werden (%3); es bleibt in %4.</translation>
    </message>
    <message>
        <source>replaced chapter</source>
        <translation>ersetzte Kapitel</translation>
    </message>
    <message>
        <source>Could not create a working folder next to %1: %2</source>
        <translation>Neben %1 konnte kein Arbeitsordner angelegt werden: %2</translation>
    </message>
    <message>
        <source>%1 ends in the 360 camera&apos;s own data (%2 bytes after the video: its sensors and what its software needs to stitch the lenses). A cut cannot keep it, so %1 is left as it is.</source>
        <translation>%1 endet mit den eigenen Daten der 360-Grad-Kamera (%2 Bytes nach dem Video: ihre Sensoren und was ihre Software zum Zusammenfügen der Objektive braucht). Ein Schnitt kann sie nicht erhalten, daher bleibt %1, wie es ist.</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes of the camera&apos;s own data after the video, which a cut cannot keep, so it is left as it is.</source>
        <translation>%1 enthält nach dem Video %2 Bytes eigener Daten der Kamera, die ein Schnitt nicht erhalten kann, daher bleibt es, wie es ist.</translation>
    </message>
    <message>
        <source>%1 is one lens of a 360 clip whose other lens is %2; cutting one alone would put them out of step, so it is left as it is.</source>
        <translation>%1 ist ein Objektiv eines 360-Grad-Clips, dessen anderes Objektiv %2 ist; nur eines zu schneiden, brächte sie aus dem Takt, daher bleibt es, wie es ist.</translation>
    </message>
    <message>
        <source>The trimmed copy of %1 could not be read back, so %1 was left as it is: %2</source>
        <translation>Die gekürzte Kopie von %1 konnte nicht zurückgelesen werden, daher blieb %1, wie es ist: %2</translation>
    </message>
    <message>
        <source>The trimmed copy of %1 came out wrong (%2 instead of %3 long, %4 of %5 video streams), so %1 was left as it is.</source>
        <translation>Die gekürzte Kopie von %1 ist fehlerhaft (%2 statt %3 lang, %4 von %5 Videospuren), daher blieb %1, wie es ist.</translation>
    </message>
    <message>
        <source>%1 is still being written by another program, so it was left as it is. Trim it once that program is done with it.</source>
        <translation>%1 wird noch von einem anderen Programm geschrieben, daher blieb es, wie es ist. Kürzen Sie es, sobald dieses Programm damit fertig ist.</translation>
    </message>
    <message>
        <source>%1 was deleted or moved while it was being trimmed.</source>
        <translation>%1 wurde während des Kürzens gelöscht oder verschoben.</translation>
    </message>
    <message>
        <source>%1 was changed while it was being trimmed, so it was left as it is.</source>
        <translation>%1 wurde während des Kürzens geändert, daher blieb es, wie es ist.</translation>
    </message>
    <message>
        <source>Could not replace %1 by its trimmed copy: %2</source>
        <translation>%1 konnte nicht durch seine gekürzte Kopie ersetzt werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be read: %2</source>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is read-only, so it was left as it is. Make it writable (in its properties, or chmod u+w) to trim it.</source>
        <translation>%1 ist schreibgeschützt, daher blieb es, wie es ist. Machen Sie es beschreibbar (in seinen Eigenschaften oder mit chmod u+w), um es zu kürzen.</translation>
    </message>
    <message>
        <source>No trim range available.</source>
        <translation>Kein Kürzungsbereich verfügbar.</translation>
    </message>
    <message>
        <source>%1 has no video, only sound or data, so there is nothing to trim.</source>
        <translation>%1 hat kein Video, nur Ton oder Daten, daher gibt es nichts zu kürzen.</translation>
    </message>
    <message>
        <source>The duration of %1 could not be read.</source>
        <translation>Die Dauer von %1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The range %1 to %2 does not lie within %3, which is %4 long.</source>
        <translation>Der Bereich %1 bis %2 liegt nicht innerhalb von %3, das %4 lang ist.</translation>
    </message>
    <message>
        <source>original</source>
        <translation>Original</translation>
    </message>
</context>
<context>
    <name>Volumes</name>
    <message>
        <source>The list of mounted volumes could not be read: %1</source>
        <translation>Die Liste der eingehängten Datenträger konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The disk service (UDisks2) is not available</source>
        <translation>Der Datenträgerdienst (UDisks2) ist nicht verfügbar</translation>
    </message>
    <message>
        <source>The disk service could not find %1</source>
        <translation>Der Datenträgerdienst konnte %1 nicht finden</translation>
    </message>
    <message>
        <source>The volume could not be unmounted</source>
        <translation>Der Datenträger konnte nicht ausgehängt werden</translation>
    </message>
    <message>
        <source>The drive of the volume could not be found</source>
        <translation>Das Laufwerk des Datenträgers wurde nicht gefunden</translation>
    </message>
    <message>
        <source>The drive could not be asked</source>
        <translation>Das Laufwerk konnte nicht abgefragt werden</translation>
    </message>
    <message>
        <source>The drive could not be powered off</source>
        <translation>Das Laufwerk konnte nicht ausgeschaltet werden</translation>
    </message>
    <message>
        <source>%1 cannot be ejected: the disk service does not know %2.</source>
        <translation>%1 kann nicht ausgeworfen werden: Der Datenträgerdienst kennt %2 nicht.</translation>
    </message>
    <message>
        <source>%1 could not be ejected. %2</source>
        <translation>%1 konnte nicht ausgeworfen werden. %2</translation>
    </message>
    <message>
        <source>%1 was unmounted, but its drive could not be powered off. %2</source>
        <translation>%1 wurde ausgehängt, aber sein Laufwerk konnte nicht ausgeschaltet werden. %2</translation>
    </message>
    <message>
        <source>%1 cannot be ejected: it is not a mounted volume.</source>
        <translation>%1 kann nicht ausgeworfen werden: Es ist kein eingehängter Datenträger.</translation>
    </message>
    <message>
        <source>there is no system bus</source>
        <translation>es gibt keinen Systembus</translation>
    </message>
    <message>
        <source>UDisks2 did not answer (%1)</source>
        <translation>UDisks2 hat nicht geantwortet (%1)</translation>
    </message>
    <message>
        <source>UDisks2 does not know %1</source>
        <translation>UDisks2 kennt %1 nicht</translation>
    </message>
    <message>
        <source>udev has no link for it</source>
        <translation>udev hat keinen Link dafür</translation>
    </message>
    <message>
        <source>no way to read it is enabled</source>
        <translation>keine Möglichkeit, sie zu lesen, ist aktiviert</translation>
    </message>
    <message>
        <source>The volumes folder %1 cannot be listed.</source>
        <translation>Der Datenträgerordner %1 kann nicht aufgelistet werden.</translation>
    </message>
    <message>
        <source>The identity of %1 could not be read: %2</source>
        <translation>Die Kennung von %1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The identity of %1 could not be read.</source>
        <translation>Die Kennung von %1 konnte nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>velarix-cli</name>
    <message>
        <source>%1 free</source>
        <translation>%1 frei</translation>
    </message>
    <message>
        <source>No camera cards found.</source>
        <translation>Keine Kamerakarten gefunden.</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n Video</numerusform>
            <numerusform>%n Videos</numerusform>
        </translation>
    </message>
    <message>
        <source>(no date)</source>
        <translation>(kein Datum)</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) cannot be read as video; an import copies them as they are.</source>
        <translation>
            <numerusform>%n Datei ist nicht als Video lesbar; ein Import kopiert sie unverändert.</numerusform>
            <numerusform>%n Dateien sind nicht als Video lesbar; ein Import kopiert sie unverändert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Try &apos;velarix-cli --help&apos;.</source>
        <translation>Siehe &apos;velarix-cli --help&apos;.</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Hinweis:</translation>
    </message>
    <message>
        <source>GPS altitude</source>
        <translation>GPS-Höhe</translation>
    </message>
    <message>
        <source>accelerometer</source>
        <translation>Beschleunigungssensor</translation>
    </message>
    <message>
        <source>exit %1, canopy opening by audio %2, by frames %3</source>
        <translation>Exit %1, Schirmöffnung laut Ton %2, laut Bild %3</translation>
    </message>
    <message>
        <source>telemetry (%1): exit %2, canopy opening %3</source>
        <translation>Telemetrie (%1): Exit %2, Schirmöffnung %3</translation>
    </message>
    <message>
        <source>Check before trimming: %1.</source>
        <translation>Vor dem Kürzen prüfen: %1.</translation>
    </message>
    <message>
        <source>levels (dB per half second):</source>
        <translation>Pegel (dB je halbe Sekunde):</translation>
    </message>
    <message>
        <source>analyze: unknown option &apos;%1&apos;</source>
        <translation>analyze: unbekannte Option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>analyze: no video files given</source>
        <translation>analyze: keine Videodateien angegeben</translation>
    </message>
    <message>
        <source>[%1/%2] analysing %3</source>
        <translation>[%1/%2] %3 wird analysiert</translation>
    </message>
    <message>
        <source>suggests a trim range from exit to canopy opening for each video</source>
        <translation>schlägt für jedes Video einen Bereich vom Exit bis zur Schirmöffnung vor</translation>
    </message>
    <message>
        <source>cards takes no arguments</source>
        <translation>cards nimmt keine Argumente</translation>
    </message>
    <message>
        <source>lists the mounted camera cards</source>
        <translation>listet die eingehängten Kamerakarten auf</translation>
    </message>
    <message>
        <source>--card needs a folder</source>
        <translation>--card braucht einen Ordner</translation>
    </message>
    <message>
        <source>--pattern needs a pattern</source>
        <translation>--pattern braucht ein Muster</translation>
    </message>
    <message>
        <source>--jump needs a whole number</source>
        <translation>--jump braucht eine ganze Zahl</translation>
    </message>
    <message>
        <source>--name needs a card name</source>
        <translation>--name braucht einen Kartennamen</translation>
    </message>
    <message>
        <source>--dest needs a folder</source>
        <translation>--dest braucht einen Ordner</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unbekannte Option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>choose one of --all, --new or file names</source>
        <translation>wählen Sie eines von --all, --new oder Dateinamen</translation>
    </message>
    <message>
        <source>No temporary folder is available.</source>
        <translation>Es ist kein temporärer Ordner verfügbar.</translation>
    </message>
    <message>
        <source>To keep it and start a new history, move it aside: mv &apos;%1&apos; &apos;%1.damaged-%2&apos;</source>
        <translation>Um ihn zu behalten und einen neuen Verlauf zu beginnen, legen Sie ihn beiseite: mv &apos;%1&apos; &apos;%1.damaged-%2&apos;</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
    <message>
        <source>%1 is not a camera card (it has no DCIM folder and no camera video folder such as PRIVATE/M4ROOT/CLIP)</source>
        <translation>%1 ist keine Kamerakarte (sie hat keinen DCIM-Ordner und keinen Videoordner einer Kamera wie PRIVATE/M4ROOT/CLIP)</translation>
    </message>
    <message>
        <source>no camera card found (a mounted volume with a DCIM or camera video folder)</source>
        <translation>keine Kamerakarte gefunden (ein eingehängtes Laufwerk mit einem DCIM- oder Videoordner einer Kamera)</translation>
    </message>
    <message>
        <source>the card could not be read: %1</source>
        <translation>die Karte konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>Name them to import them again.</source>
        <translation>Nennen Sie sie, um sie erneut zu importieren.</translation>
    </message>
    <message numerus="yes">
        <source>left out %n empty file(s) (nothing to copy; name them to try anyway): %1</source>
        <translation>
            <numerusform>%n leere Datei ausgelassen (nichts zu kopieren; nennen Sie sie, um es trotzdem zu versuchen): %1</numerusform>
            <numerusform>%n leere Dateien ausgelassen (nichts zu kopieren; nennen Sie sie, um es trotzdem zu versuchen): %1</numerusform>
        </translation>
    </message>
    <message>
        <source>there is no video named &apos;%1&apos; on the card</source>
        <translation>auf der Karte gibt es kein Video namens &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 is not a camera card (it has no DCIM folder)</source>
        <translation>%1 ist keine Kamerakarte (sie hat keinen DCIM-Ordner)</translation>
    </message>
    <message>
        <source>no camera card found (a mounted volume with a DCIM folder)</source>
        <translation>keine Kamerakarte gefunden (ein eingehängtes Laufwerk mit einem DCIM-Ordner)</translation>
    </message>
    <message>
        <source>imported</source>
        <extracomment>The import state of a video on the card</extracomment>
        <translation>importiert</translation>
    </message>
    <message>
        <source>new</source>
        <extracomment>The import state of a video on the card: not imported yet</extracomment>
        <translation>neu</translation>
    </message>
    <message>
        <source>unreadable</source>
        <extracomment>The import state of a video on the card</extracomment>
        <translation>unlesbar</translation>
    </message>
    <message>
        <source>demo: unexpected &apos;%1&apos;</source>
        <translation>demo: unerwartet: &apos;%1&apos;</translation>
    </message>
    <message>
        <source>demo: &apos;%1&apos; is not a number</source>
        <translation>demo: &apos;%1&apos; ist keine Zahl</translation>
    </message>
    <message>
        <source>demo --jump needs a file, a length and an exit before the opening</source>
        <translation>demo --jump braucht eine Datei, eine Länge und einen Exit vor der Öffnung</translation>
    </message>
    <message>
        <source>Jump: %1</source>
        <translation>Sprung: %1</translation>
    </message>
    <message>
        <source>demo takes one folder</source>
        <translation>demo nimmt einen Ordner</translation>
    </message>
    <message>
        <source>Making demo clips: %1 of %2</source>
        <translation>Demo-Clips werden erstellt: %1 von %2</translation>
    </message>
    <message>
        <source>Demo card: %1</source>
        <translation>Demo-Karte: %1</translation>
    </message>
    <message>
        <source>Try it:</source>
        <translation>Ausprobieren:</translation>
    </message>
    <message>
        <source>make a demo camera card with synthesised jumps in DIR, or one jump with telemetry</source>
        <translation>erstellt in DIR eine Demo-Kamerakarte mit künstlichen Sprüngen oder einen Sprung mit Telemetrie</translation>
    </message>
    <message>
        <source>verified</source>
        <extracomment>Whether an imported copy was read back and compared</extracomment>
        <translation>geprüft</translation>
    </message>
    <message>
        <source>not verified</source>
        <translation>nicht geprüft</translation>
    </message>
    <message>
        <source>the card has no volume UUID, so it has no import history</source>
        <translation>die Karte hat keine Laufwerks-UUID und daher keinen Importverlauf</translation>
    </message>
    <message>
        <source>the import history could not be cleared: %1</source>
        <translation>der Importverlauf konnte nicht gelöscht werden: %1</translation>
    </message>
    <message numerus="yes">
        <source>Cleared %n record(s) of %1.</source>
        <translation>
            <numerusform>%n Eintrag von %1 gelöscht.</numerusform>
            <numerusform>%n Einträge von %1 gelöscht.</numerusform>
        </translation>
    </message>
    <message>
        <source>No files imported from %1.</source>
        <translation>Keine Dateien von %1 importiert.</translation>
    </message>
    <message>
        <source>lists the files imported from a card, or forgets them</source>
        <translation>listet die von einer Karte importierten Dateien auf oder vergisst sie</translation>
    </message>
    <message numerus="yes">
        <source>all %n selected video(s) were imported before and are copied again; --new skips what was imported.</source>
        <translation>
            <numerusform>das ausgewählte Video wurde schon importiert und wird erneut kopiert; --new überspringt Importiertes.</numerusform>
            <numerusform>alle %n ausgewählten Videos wurden schon importiert und werden erneut kopiert; --new überspringt Importiertes.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n selected video(s) were imported before and are copied again; --new skips what was imported.</source>
        <translation>
            <numerusform>%1 von %n ausgewählten Video wurden schon importiert und werden erneut kopiert; --new überspringt Importiertes.</numerusform>
            <numerusform>%1 der %n ausgewählten Videos wurden schon importiert und werden erneut kopiert; --new überspringt Importiertes.</numerusform>
        </translation>
    </message>
    <message>
        <source>No videos to import.</source>
        <translation>Keine Videos zu importieren.</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n video(s) copied, but not recorded as imported</source>
        <translation>
            <numerusform>%1 von %n Video kopiert, aber nicht als importiert vermerkt</numerusform>
            <numerusform>%1 von %n Videos kopiert, aber nicht als importiert vermerkt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n video(s) imported</source>
        <translation>
            <numerusform>%1 von %n Video importiert</numerusform>
            <numerusform>%1 von %n Videos importiert</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (cancelled).</source>
        <translation>%1 (abgebrochen).</translation>
    </message>
    <message>
        <source>%1.</source>
        <translation>%1.</translation>
    </message>
    <message>
        <source>the copies are in place, but the import history could not record them, so they will not show as imported: %1</source>
        <translation>die Kopien liegen bereit, aber der Importverlauf konnte sie nicht vermerken, daher werden sie nicht als importiert angezeigt: %1</translation>
    </message>
    <message>
        <source>copies the selected videos into the destination folder (--no-verify: no read-back; --trim: then trims the copies to their suggestions)</source>
        <translation>kopiert die ausgewählten Videos in den Zielordner (--no-verify: ohne Zurücklesen; --trim: kürzt danach die Kopien auf ihre Vorschläge)</translation>
    </message>
    <message>
        <source>--date needs a day such as 2024-05-01</source>
        <translation>--date braucht einen Tag wie 2024-05-01</translation>
    </message>
    <message>
        <source>jump %1</source>
        <translation>Sprung %1</translation>
    </message>
    <message>
        <source>No jumps logged on %1.</source>
        <translation>Am %1 wurden keine Sprünge erfasst.</translation>
    </message>
    <message>
        <source>No jumps logged yet.</source>
        <translation>Noch keine Sprünge erfasst.</translation>
    </message>
    <message>
        <source>lists the jump log: each imported jump&apos;s number, day, time and cards</source>
        <translation>listet das Sprungbuch auf: Nummer, Tag, Uhrzeit und Karten jedes importierten Sprungs</translation>
    </message>
    <message>
        <source>%1 is chapter %2 of a recording of %3 chapters; name its first chapter, %4, to take the whole recording.</source>
        <translation>%1 ist Kapitel %2 einer Aufnahme aus %3 Kapiteln; nennen Sie ihr erstes Kapitel, %4, um die ganze Aufnahme zu nehmen.</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n chapter(s))</source>
        <translation>
            <numerusform>%1 (%n Kapitel)</numerusform>
            <numerusform>%1 (%n Kapitel)</numerusform>
        </translation>
    </message>
    <message>
        <source>No videos selected.</source>
        <translation>Keine Videos ausgewählt.</translation>
    </message>
    <message>
        <source>shows the names the selected videos would be imported under</source>
        <translation>zeigt die Namen, unter denen die ausgewählten Videos importiert würden</translation>
    </message>
    <message>
        <source>lists a card&apos;s videos, newest first, with import state</source>
        <translation>listet die Videos einer Karte auf, die neuesten zuerst, mit Importstatus</translation>
    </message>
    <message>
        <source>Usage: velarix-cli [--json] COMMAND [OPTIONS]</source>
        <translation>Aufruf: velarix-cli [--json] COMMAND [OPTIONS]</translation>
    </message>
    <message>
        <source>Imports skydiving videos from camera cards and trims them, without a window.</source>
        <translation>Importiert Skydiving-Videos von Kamerakarten und kürzt sie, ohne Fenster.</translation>
    </message>
    <message>
        <source>Uses the same settings and import history as the Velarix application.</source>
        <translation>Nutzt dieselben Einstellungen und denselben Importverlauf wie die Velarix-Anwendung.</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>Befehle:</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>print machine-readable JSON on stdout</source>
        <translation>maschinenlesbares JSON auf stdout ausgeben</translation>
    </message>
    <message>
        <source>show this help (after a command: that command&apos;s usage)</source>
        <translation>diese Hilfe zeigen (nach einem Befehl: dessen Aufruf)</translation>
    </message>
    <message>
        <source>show the version</source>
        <translation>die Version zeigen</translation>
    </message>
    <message>
        <source>the card: a volume root with DCIM or a camera video folder (default: the first)</source>
        <translation>die Karte: ein Laufwerk mit DCIM oder ein Videoordner einer Kamera (Vorgabe: die erste)</translation>
    </message>
    <message>
        <source>import: the destination folder, for this run</source>
        <translation>import: der Zielordner, für diesen Lauf</translation>
    </message>
    <message>
        <source>import: do not read each copy back to compare checksums</source>
        <translation>import: Kopien nicht zurücklesen, um Prüfsummen zu vergleichen</translation>
    </message>
    <message>
        <source>history: forget the card&apos;s imported files</source>
        <translation>history: die importierten Dateien der Karte vergessen</translation>
    </message>
    <message>
        <source>analyze: also print the audio level of every half second</source>
        <translation>analyze: auch den Tonpegel jeder halben Sekunde ausgeben</translation>
    </message>
    <message>
        <source>trim: keep this range (seconds or minutes:seconds, e.g. 00:40-02:30)</source>
        <translation>trim: diesen Bereich behalten (Sekunden oder Minuten:Sekunden, z. B. 00:40-02:30)</translation>
    </message>
    <message>
        <source>import: then analyse the copies and trim each to its suggestion</source>
        <translation>import: danach die Kopien analysieren und jede auf ihren Vorschlag kürzen</translation>
    </message>
    <message>
        <source>trim: analyse and report, change no file</source>
        <translation>trim: analysieren und berichten, keine Datei ändern</translation>
    </message>
    <message>
        <source>trim, import --trim: also trim to suggestions marked &quot;check before trimming&quot;</source>
        <translation>trim, import --trim: auch auf Vorschläge kürzen, die mit „vor dem Kürzen prüfen“ markiert sind</translation>
    </message>
    <message>
        <source>trim, import --trim: put each replaced original in the Trash</source>
        <translation>trim, import --trim: jedes ersetzte Original in den Papierkorb legen</translation>
    </message>
    <message>
        <source>trim, import --trim: delete replaced originals (the saved setting aside)</source>
        <translation>trim, import --trim: ersetzte Originale löschen (entgegen der gespeicherten Einstellung)</translation>
    </message>
    <message>
        <source>demo: write one jump with the camera&apos;s telemetry to FILE (shaped as below)</source>
        <translation>demo: einen Sprung mit der Telemetrie der Kamera nach FILE schreiben (wie unten beschrieben)</translation>
    </message>
    <message>
        <source>demo --jump: the clip&apos;s length</source>
        <translation>demo --jump: die Länge des Clips</translation>
    </message>
    <message>
        <source>demo --jump: when the jumper leaves the aircraft</source>
        <translation>demo --jump: wann der Springer das Flugzeug verlässt</translation>
    </message>
    <message>
        <source>demo --jump: when the canopy opens</source>
        <translation>demo --jump: wann sich der Schirm öffnet</translation>
    </message>
    <message>
        <source>demo --jump: wind, silent, muffled, music or none</source>
        <translation>demo --jump: wind, silent, muffled, music oder none</translation>
    </message>
    <message>
        <source>demo --jump: no GPS in the telemetry</source>
        <translation>demo --jump: kein GPS in der Telemetrie</translation>
    </message>
    <message>
        <source>demo --jump: no accelerometer in the telemetry</source>
        <translation>demo --jump: kein Beschleunigungssensor in der Telemetrie</translation>
    </message>
    <message>
        <source>(plan, import):</source>
        <translation>(plan, import):</translation>
    </message>
    <message>
        <source>every video on the card (the default)</source>
        <translation>jedes Video auf der Karte (Vorgabe)</translation>
    </message>
    <message>
        <source>only the videos not imported before</source>
        <translation>nur die noch nicht importierten Videos</translation>
    </message>
    <message>
        <source>the named videos</source>
        <translation>die genannten Videos</translation>
    </message>
    <message>
        <source>(plan, import; for this run, not saved):</source>
        <translation>(plan, import; für diesen Lauf, nicht gespeichert):</translation>
    </message>
    <message>
        <source>the file name pattern, of text and %1; &apos;/&apos; makes folders</source>
        <translation>das Dateinamenmuster aus Text und %1; &apos;/&apos; legt Ordner an</translation>
    </message>
    <message>
        <source>the first jump number</source>
        <translation>die erste Sprungnummer</translation>
    </message>
    <message>
        <source>give clips that follow each other closely one jump number</source>
        <translation>dicht aufeinander folgenden Clips eine Sprungnummer geben</translation>
    </message>
    <message>
        <source>give every clip its own jump number</source>
        <translation>jedem Clip eine eigene Sprungnummer geben</translation>
    </message>
    <message>
        <source>the card&apos;s name</source>
        <translation>der Name der Karte</translation>
    </message>
    <message>
        <source>import each recording the camera split into chapters as one file</source>
        <translation>jede Aufnahme, die die Kamera in Kapitel geteilt hat, als eine Datei importieren</translation>
    </message>
    <message>
        <source>copy each chapter as a file of its own</source>
        <translation>jedes Kapitel als eigene Datei kopieren</translation>
    </message>
    <message>
        <source>import the files beside each video with it (thumbnails, GPS, proxies)</source>
        <translation>die Dateien neben jedem Video mit importieren (Vorschaubilder, GPS, Proxys)</translation>
    </message>
    <message>
        <source>import the videos only (a 360 clip&apos;s second lens still comes along)</source>
        <translation>nur die Videos importieren (das zweite Objektiv eines 360-Grad-Clips kommt trotzdem mit)</translation>
    </message>
    <message>
        <source>with the sidecars, the low-resolution proxies (.LRV, .LRF) too</source>
        <translation>mit den Begleitdateien auch die Proxys in niedriger Auflösung (.LRV, .LRF)</translation>
    </message>
    <message>
        <source>leave the proxies on the card</source>
        <translation>die Proxys auf der Karte lassen</translation>
    </message>
    <message>
        <source>(analyze, trim):</source>
        <translation>(analyze, trim):</translation>
    </message>
    <message>
        <source>  A recording the camera split into chapters (GX010042.MP4, GX020042.MP4, ...) is one video:
  name its first chapter and the chapters beside it come with it. A later chapter named
  without its first is refused; trimming writes the cut recording in the first chapter&apos;s
  place and then removes the other chapters (or puts them in the Trash).</source>
        <translation>  Eine Aufnahme, die die Kamera in Kapitel geteilt hat (GX010042.MP4, GX020042.MP4, ...), ist ein
  Video: Nennen Sie ihr erstes Kapitel, und die Kapitel daneben kommen mit. Ein späteres Kapitel
  ohne sein erstes wird abgelehnt; das Kürzen schreibt die geschnittene Aufnahme an die Stelle des
  ersten Kapitels und entfernt dann die anderen Kapitel (oder legt sie in den Papierkorb).</translation>
    </message>
    <message>
        <source>Exit status:</source>
        <translation>Rückgabewert:</translation>
    </message>
    <message>
        <source>  0 all done, 1 some files failed, 2 bad usage or nothing could be done.</source>
        <translation>  0 alles erledigt, 1 einige Dateien fehlgeschlagen, 2 falscher Aufruf oder nichts war möglich.</translation>
    </message>
    <message>
        <source>Environment:</source>
        <translation>Umgebung:</translation>
    </message>
    <message>
        <source>where the settings and the import history are kept</source>
        <translation>wo die Einstellungen und der Importverlauf liegen</translation>
    </message>
    <message>
        <source>treat every folder directly inside this folder as a mounted volume</source>
        <translation>jeden Ordner direkt in diesem Ordner als eingehängtes Laufwerk behandeln</translation>
    </message>
    <message>
        <source>Usage: velarix-cli %1</source>
        <translation>Aufruf: velarix-cli %1</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>unbekannter Befehl &apos;%1&apos;</translation>
    </message>
    <message>
        <source>analyses videos, then trims them in place to the suggested range (or the one given)</source>
        <translation>analysiert Videos und kürzt sie dann an Ort und Stelle auf den vorgeschlagenen (oder angegebenen) Bereich</translation>
    </message>
</context>
<context>
    <name>velarix::Appcast</name>
    <message>
        <source>The update feed could not be read: %1 (line %2).</source>
        <translation>Der Update-Feed konnte nicht gelesen werden: %1 (Zeile %2).</translation>
    </message>
    <message>
        <source>The update feed is not an RSS feed.</source>
        <translation>Der Update-Feed ist kein RSS-Feed.</translation>
    </message>
</context>
<context>
    <name>velarix::Autostart</name>
    <message>
        <source>The login item %1 could not be removed.</source>
        <translation>Der Autostart-Eintrag %1 konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <source>The login item %1 could not be written: %2</source>
        <translation>Der Autostart-Eintrag %1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>velarix::CardListDelegate</name>
    <message>
        <source>%1 free</source>
        <translation>%1 frei</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n Video</numerusform>
            <numerusform>%n Videos</numerusform>
        </translation>
    </message>
    <message>
        <source>Eject %1</source>
        <translation>%1 auswerfen</translation>
    </message>
</context>
<context>
    <name>velarix::CardListView</name>
    <message>
        <source>Another card can be chosen when the import has finished.</source>
        <translation>Eine andere Karte kann gewählt werden, wenn der Import fertig ist.</translation>
    </message>
    <message>
        <source>The arrow keys show another card. Ctrl+E or the context menu ejects the card shown.</source>
        <translation>Die Pfeiltasten zeigen eine andere Karte. Strg+E oder das Kontextmenü wirft die gezeigte Karte aus.</translation>
    </message>
    <message>
        <source>Eject %1</source>
        <translation>%1 auswerfen</translation>
    </message>
    <message>
        <source>Camera cards</source>
        <translation>Kamerakarten</translation>
    </message>
</context>
<context>
    <name>velarix::CompanionChecks</name>
    <message>
        <source>The proxy %1 is larger than its video %2, which a proxy of it would not be: it may belong to another clip. Both are imported as they are.</source>
        <translation>Die Proxy-Datei %1 ist größer als ihr Video %2, was ein Proxy davon nicht wäre: Sie gehört vielleicht zu einem anderen Clip. Beide werden unverändert importiert.</translation>
    </message>
    <message>
        <source>The proxy %1 runs %2 s, but its video %3 runs %4 s: it may belong to another clip, or be cut short. Both are imported as they are.</source>
        <translation>Die Proxy-Datei %1 dauert %2 s, ihr Video %3 aber %4 s: Sie gehört vielleicht zu einem anderen Clip oder ist abgeschnitten. Beide werden unverändert importiert.</translation>
    </message>
    <message>
        <source>The second lens %1 runs %2 s, but %3 runs %4 s: the lenses are out of step, and the camera&apos;s stitching software may refuse them. Both are imported as they are.</source>
        <translation>Das zweite Objektiv %1 dauert %2 s, %3 aber %4 s: Die Objektive laufen nicht gleich, und die Stitching-Software der Kamera lehnt sie vielleicht ab. Beide werden unverändert importiert.</translation>
    </message>
    <message>
        <source>%1 says the recording began at %2, which is far from the time of %3 (%4): it may belong to another clip. The file&apos;s own time is shown; both are imported as they are.</source>
        <translation>%1 gibt den Aufnahmebeginn mit %2 an, weit entfernt von der Zeit von %3 (%4): Die Datei gehört vielleicht zu einem anderen Clip. Die Zeit der Datei selbst wird gezeigt; beide werden unverändert importiert.</translation>
    </message>
</context>
<context>
    <name>velarix::DisplayFormats</name>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation>
            <numerusform>%n Byte</numerusform>
            <numerusform>%n Byte</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 KB</source>
        <extracomment>Units of 1000 bytes (&quot;Ko&quot;, &quot;Mo&quot; in French)</extracomment>
        <translation>%1 kB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 TB</translation>
    </message>
    <message>
        <source>%1 PB</source>
        <translation>%1 PB</translation>
    </message>
    <message>
        <source>%1 hr</source>
        <extracomment>Abbreviated hours of a duration</extracomment>
        <translation>%1 Std.</translation>
    </message>
    <message>
        <source>%1 min</source>
        <extracomment>Abbreviated minutes of a duration</extracomment>
        <translation>%1 Min.</translation>
    </message>
    <message>
        <source>%1 sec</source>
        <extracomment>Abbreviated seconds of a duration</extracomment>
        <translation>%1 Sek.</translation>
    </message>
    <message>
        <source>now</source>
        <extracomment>A moment relative to now</extracomment>
        <translation>jetzt</translation>
    </message>
    <message numerus="yes">
        <source>%n year(s) ago</source>
        <translation>
            <numerusform>vor %n Jahr</numerusform>
            <numerusform>vor %n Jahren</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n year(s)</source>
        <translation>
            <numerusform>in %n Jahr</numerusform>
            <numerusform>in %n Jahren</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n month(s) ago</source>
        <translation>
            <numerusform>vor %n Monat</numerusform>
            <numerusform>vor %n Monaten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n month(s)</source>
        <translation>
            <numerusform>in %n Monat</numerusform>
            <numerusform>in %n Monaten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n week(s) ago</source>
        <translation>
            <numerusform>vor %n Woche</numerusform>
            <numerusform>vor %n Wochen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n week(s)</source>
        <translation>
            <numerusform>in %n Woche</numerusform>
            <numerusform>in %n Wochen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n day(s) ago</source>
        <translation>
            <numerusform>vor %n Tag</numerusform>
            <numerusform>vor %n Tagen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n day(s)</source>
        <translation>
            <numerusform>in %n Tag</numerusform>
            <numerusform>in %n Tagen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour(s) ago</source>
        <translation>
            <numerusform>vor %n Stunde</numerusform>
            <numerusform>vor %n Stunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n hour(s)</source>
        <translation>
            <numerusform>in %n Stunde</numerusform>
            <numerusform>in %n Stunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s) ago</source>
        <translation>
            <numerusform>vor %n Minute</numerusform>
            <numerusform>vor %n Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n minute(s)</source>
        <translation>
            <numerusform>in %n Minute</numerusform>
            <numerusform>in %n Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s) ago</source>
        <translation>
            <numerusform>vor %n Sekunde</numerusform>
            <numerusform>vor %n Sekunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n second(s)</source>
        <translation>
            <numerusform>in %n Sekunde</numerusform>
            <numerusform>in %n Sekunden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::DroppedVideos</name>
    <message>
        <source>No MP4 or 360 videos were found in %1.</source>
        <translation>In %1 wurden keine MP4- oder 360-Videos gefunden.</translation>
    </message>
    <message numerus="yes">
        <source> and %n more</source>
        <translation>
            <numerusform> und %n weitere</numerusform>
            <numerusform> und %n weitere</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Skipped %n file(s) that are not MP4 or 360 videos: %1.</source>
        <translation>
            <numerusform>Eine Datei ist kein MP4- oder 360-Video und wurde übersprungen: %1.</numerusform>
            <numerusform>%n Dateien sind keine MP4- oder 360-Videos und wurden übersprungen: %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::ImportNotifier</name>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n Video</numerusform>
            <numerusform>%n Videos</numerusform>
        </translation>
    </message>
    <message>
        <source>Importing %1 — %2%</source>
        <translation>%1 werden importiert — %2 %</translation>
    </message>
    <message>
        <source>Import finished</source>
        <translation>Import abgeschlossen</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) copied to %1</source>
        <translation>
            <numerusform>%n Video nach %1 kopiert</numerusform>
            <numerusform>%n Videos nach %1 kopiert</numerusform>
        </translation>
    </message>
    <message>
        <source>Import cancelled</source>
        <translation>Import abgebrochen</translation>
    </message>
    <message>
        <source>Import failed</source>
        <translation>Import fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>velarix::ImportPattern</name>
    <message>
        <source>{date}: Date of the file YYYY-MM-DD</source>
        <translation>{date}: Datum der Datei JJJJ-MM-TT</translation>
    </message>
    <message>
        <source>{today}: Day of import YYYY-MM-DD</source>
        <translation>{today}: Tag des Imports JJJJ-MM-TT</translation>
    </message>
    <message>
        <source>{name}: Name of the SD card</source>
        <translation>{name}: Name der SD-Karte</translation>
    </message>
    <message>
        <source>{jump}: Jump number</source>
        <translation>{jump}: Sprungnummer</translation>
    </message>
    <message>
        <source>{filename}: Name of the file</source>
        <translation>{filename}: Name der Datei</translation>
    </message>
    <message>
        <source>/: automatically creates subfolders</source>
        <translation>/: legt Unterordner an</translation>
    </message>
</context>
<context>
    <name>velarix::ImportProgress</name>
    <message>
        <source>Verifying</source>
        <translation>Prüfen</translation>
    </message>
    <message>
        <source>Copying</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Verifying %1</source>
        <translation>%1 wird geprüft</translation>
    </message>
    <message>
        <source>Copying %1</source>
        <translation>%1 wird kopiert</translation>
    </message>
    <message>
        <source>%1 (%2 of %3)</source>
        <translation>%1 (%2 von %3)</translation>
    </message>
    <message>
        <source>%1, verifying %2 of %3</source>
        <translation>%1, %2 von %3 wird geprüft</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Wird abgebrochen…</translation>
    </message>
    <message>
        <source>%1 — %2 of %3</source>
        <translation>%1 — %2 von %3</translation>
    </message>
    <message>
        <source>%1, %2/s</source>
        <extracomment>Copy speed</extracomment>
        <translation>%1, %2/s</translation>
    </message>
    <message>
        <source>%1, about %2 left</source>
        <translation>%1, noch etwa %2</translation>
    </message>
</context>
<context>
    <name>velarix::ImportRun</name>
    <message>
        <source>The import was cancelled before a video was copied. Nothing was added to %1.</source>
        <translation>Der Import wurde abgebrochen, bevor ein Video kopiert war. In %1 kam nichts hinzu.</translation>
    </message>
    <message numerus="yes">
        <source>The import was cancelled. %n video(s) copied and verified before that stay in %1 and count as imported; </source>
        <translation>
            <numerusform>Der Import wurde abgebrochen. Das zuvor kopierte und geprüfte Video bleibt in %1 und gilt als importiert; </numerusform>
            <numerusform>Der Import wurde abgebrochen. Die %n zuvor kopierten und geprüften Videos bleiben in %1 und gelten als importiert; </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the other %n were not copied.</source>
        <translation>
            <numerusform>das andere wurde nicht kopiert.</numerusform>
            <numerusform>die anderen %n wurden nicht kopiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>The destination folder %1 does not exist. Connect its drive or choose another folder.</source>
        <translation>Der Zielordner %1 existiert nicht. Schließe sein Laufwerk an oder wähle einen anderen Ordner.</translation>
    </message>
    <message>
        <source>The folder %1 could not be created: %2</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden: %2</translation>
    </message>
</context>
<context>
    <name>velarix::JumpLogMatch</name>
    <message>
        <source>jump %1, as on %2</source>
        <extracomment>A video&apos;s jump number taken from the jump log, and the card that jump was first imported from</extracomment>
        <translation>Sprung %1, wie auf %2</translation>
    </message>
</context>
<context>
    <name>velarix::JumpTableView</name>
    <message>
        <source>Select All New</source>
        <translation>Alle neuen auswählen</translation>
    </message>
    <message>
        <source>Select every video not imported yet [Ctrl+Shift+A]</source>
        <translation>Alle noch nicht importierten Videos auswählen [Strg+Umschalt+A]</translation>
    </message>
    <message>
        <source>Videos</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>Space plays the selected video.</source>
        <translation>Leertaste spielt das ausgewählte Video ab.</translation>
    </message>
</context>
<context>
    <name>velarix::LoadingPanel</name>
    <message>
        <source>Loading Videos</source>
        <translation>Videos werden geladen</translation>
    </message>
    <message>
        <source>Scanning the SD card and preparing video details.</source>
        <translation>Die SD-Karte wird durchsucht und die Videodetails vorbereitet.</translation>
    </message>
    <message>
        <source>Scanning progress</source>
        <translation>Fortschritt des Einlesens</translation>
    </message>
</context>
<context>
    <name>velarix::PatternTextEdit</name>
    <message>
        <source>%1 is not a placeholder and would stay in the names as typed.
Placeholders: %2 and %3; “/” makes a folder.</source>
        <translation>%1 ist kein Platzhalter und bliebe so in den Namen stehen.
Platzhalter: %2 und %3; „/“ legt einen Ordner an.</translation>
    </message>
</context>
<context>
    <name>velarix::PreviewWindow</name>
    <message numerus="yes">
        <source>%1 (%n chapter(s))</source>
        <translation>
            <numerusform>%1 (%n Kapitel)</numerusform>
            <numerusform>%1 (%n Kapitel)</numerusform>
        </translation>
    </message>
    <message>
        <source>Drag to move through the video (Left and Right step 5 seconds)</source>
        <translation>Ziehen, um durch das Video zu gehen (Links und Rechts springen 5 Sekunden)</translation>
    </message>
    <message>
        <source>Pause [Space]</source>
        <translation>Pause [Leertaste]</translation>
    </message>
    <message>
        <source>Play [Space]</source>
        <translation>Abspielen [Leertaste]</translation>
    </message>
</context>
<context>
    <name>velarix::RecordingImport</name>
    <message>
        <source>The joined video %1 does not match its chapters (the bytes read back differ from those written).</source>
        <translation>Das zusammengefügte Video %1 stimmt nicht mit seinen Kapiteln überein (die zurückgelesenen Bytes weichen von den geschriebenen ab).</translation>
    </message>
</context>
<context>
    <name>velarix::RecordingStatus</name>
    <message>
        <source>Imported. The copy was read back and verified.</source>
        <translation>Importiert. Die Kopie wurde zurückgelesen und geprüft.</translation>
    </message>
    <message>
        <source>Imported without verification: the copy was not read back and compared. Import it again to verify it.</source>
        <translation>Ohne Prüfung importiert: Die Kopie wurde nicht zurückgelesen und verglichen. Erneut importieren, um sie zu prüfen.</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) imported without verification are not selected. Select them to import and verify them again.</source>
        <translation>
            <numerusform>%n ohne Prüfung importiertes Video ist nicht ausgewählt. Zum erneuten Importieren und Prüfen auswählen.</numerusform>
            <numerusform>%n ohne Prüfung importierte Videos sind nicht ausgewählt. Zum erneuten Importieren und Prüfen auswählen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::SpokenText</name>
    <message numerus="yes">
        <source>%n hour(s)</source>
        <translation>
            <numerusform>%n Stunde</numerusform>
            <numerusform>%n Stunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s)</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>today %1</source>
        <translation>heute %1</translation>
    </message>
    <message>
        <source>yesterday %1</source>
        <translation>gestern %1</translation>
    </message>
</context>
<context>
    <name>velarix::TelemetryDetection</name>
    <message>
        <source>the GPS has no fix</source>
        <translation>das GPS hat keinen Fix</translation>
    </message>
    <message>
        <source>the GPS altitudes are not usable</source>
        <translation>die GPS-Höhen sind nicht brauchbar</translation>
    </message>
    <message>
        <source>the accelerometer shows no opening shock where the GPS altitude shows the canopy</source>
        <translation>der Beschleunigungssensor zeigt keinen Öffnungsstoß, wo die GPS-Höhe den Schirm zeigt</translation>
    </message>
    <message>
        <source>the GPS altitude shows no freefall</source>
        <translation>die GPS-Höhe zeigt keinen Freifall</translation>
    </message>
    <message>
        <source>the GPS altitude shows no freefall where the accelerometer shows a jump</source>
        <translation>die GPS-Höhe zeigt keinen Freifall, wo der Beschleunigungssensor einen Sprung zeigt</translation>
    </message>
    <message>
        <source>the accelerometer shows more than one shock that could be the opening</source>
        <translation>der Beschleunigungssensor zeigt mehr als einen Stoß, der die Öffnung sein könnte</translation>
    </message>
    <message>
        <source>the accelerometer shows no exit and opening</source>
        <translation>der Beschleunigungssensor zeigt keinen Exit und keine Öffnung</translation>
    </message>
    <message>
        <source>%1, and %2</source>
        <translation>%1, und %2</translation>
    </message>
    <message>
        <source>the track holds no accelerometer or GPS</source>
        <translation>die Spur enthält weder Beschleunigungssensor noch GPS</translation>
    </message>
</context>
<context>
    <name>velarix::TelemetryKinds</name>
    <message>
        <source>Telemetry: %1, read.</source>
        <translation>Telemetrie: %1, gelesen.</translation>
    </message>
    <message>
        <source>Telemetry: %1, which Velarix cannot use yet.</source>
        <translation>Telemetrie: %1, die Velarix noch nicht nutzen kann.</translation>
    </message>
    <message>
        <source>Also carried: %1, which Velarix cannot use yet.</source>
        <translation>Außerdem enthalten: %1, die Velarix noch nicht nutzen kann.</translation>
    </message>
</context>
<context>
    <name>velarix::TrimDecision</name>
    <message>
        <source>the camera&apos;s GPS altitude</source>
        <translation>die GPS-Höhe der Kamera</translation>
    </message>
    <message>
        <source>the camera&apos;s accelerometer</source>
        <translation>der Beschleunigungssensor der Kamera</translation>
    </message>
    <message>
        <source>the picture</source>
        <translation>das Bild</translation>
    </message>
    <message>
        <source>the sound</source>
        <translation>der Ton</translation>
    </message>
    <message>
        <source>%1 put the exit at %2.</source>
        <translation>%1 setzte den Exit auf %2.</translation>
    </message>
    <message>
        <source>%1 put the opening at %2.</source>
        <translation>%1 setzte die Öffnung auf %2.</translation>
    </message>
    <message>
        <source>the range keeps only %1 s of freefall</source>
        <translation>der Bereich behält nur %1 s Freifall</translation>
    </message>
    <message>
        <source>%1 puts the opening at %2, after the kept range</source>
        <translation>%1 setzt die Öffnung auf %2, nach dem behaltenen Bereich</translation>
    </message>
    <message>
        <source>%1 and %2 disagree by %3 s about the exit</source>
        <translation>%1 und %2 weichen beim Exit um %3 s voneinander ab</translation>
    </message>
    <message>
        <source>%1 and %2 disagree by %3 s about the opening</source>
        <translation>%1 und %2 weichen bei der Öffnung um %3 s voneinander ab</translation>
    </message>
    <message>
        <source>Exit at %1 from %2.</source>
        <translation>Exit bei %1 (Quelle: %2).</translation>
    </message>
    <message>
        <source>Canopy opening at %1 from %2.</source>
        <translation>Schirmöffnung bei %1 (Quelle: %2).</translation>
    </message>
    <message>
        <source>No usable telemetry: %1.</source>
        <translation>Keine brauchbare Telemetrie: %1.</translation>
    </message>
</context>
<context>
    <name>velarix::TrimDropZone</name>
    <message>
        <source>Drop MP4, MOV or 360 videos here</source>
        <translation>MP4-, MOV- oder 360-Videos hier ablegen</translation>
    </message>
    <message>
        <source>Analyze likely freefall ranges and replace trimmed originals in place.</source>
        <translation>Wahrscheinliche Freifallbereiche finden und die Originale an Ort und Stelle kürzen.</translation>
    </message>
    <message>
        <source>Choose Videos…</source>
        <translation>Videos wählen…</translation>
    </message>
    <message>
        <source>Choose videos to trim (%1)</source>
        <translation>Videos zum Schneiden wählen (%1)</translation>
    </message>
</context>
<context>
    <name>velarix::TrimFooterBar</name>
    <message>
        <source>Analyze Again</source>
        <translation>Neu analysieren</translation>
    </message>
    <message>
        <source>Keep originals in the Trash</source>
        <translation>Originale in den Papierkorb legen</translation>
    </message>
    <message>
        <source>Each replaced original goes to the Trash of its drive, where the file manager can restore it, instead of being deleted. The space is freed only when the Trash is emptied.</source>
        <translation>Jedes ersetzte Original kommt in den Papierkorb seines Laufwerks, wo der Dateimanager es wiederherstellen kann, statt gelöscht zu werden. Der Platz wird erst frei, wenn der Papierkorb geleert wird.</translation>
    </message>
    <message>
        <source>Trim Suggested Videos</source>
        <translation>Vorschläge kürzen</translation>
    </message>
    <message>
        <source>%1 of %2 processed, %3 left</source>
        <translation>%1 von %2 bearbeitet, %3 übrig</translation>
    </message>
    <message>
        <source>Analyzing audio… </source>
        <translation>Ton wird analysiert… </translation>
    </message>
    <message>
        <source>Trimming videos… </source>
        <translation>Videos werden gekürzt… </translation>
    </message>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n Video</numerusform>
            <numerusform>%n Videos</numerusform>
        </translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>velarix::TrimHeaderBar</name>
    <message>
        <source>Trim freefall ranges from skydiving videos</source>
        <translation>Skydiving-Videos auf den Freifall kürzen</translation>
    </message>
    <message>
        <source>The first pass uses audio and lightweight frame analysis to keep the main skydive through deployment.</source>
        <translation>Der erste Durchgang nutzt Ton und eine leichte Bildanalyse, um den Sprung bis zur Schirmöffnung zu behalten.</translation>
    </message>
    <message>
        <source>Estimated savings</source>
        <translation>Geschätzte Ersparnis</translation>
    </message>
    <message>
        <source>Add Videos…</source>
        <translation>Videos hinzufügen…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Choose videos to trim (%1)</source>
        <translation>Videos zum Schneiden wählen (%1)</translation>
    </message>
</context>
<context>
    <name>velarix::TrimProgressScreen</name>
    <message>
        <source>Trimming videos…</source>
        <translation>Videos werden gekürzt…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Trimming %1</source>
        <translation>%1 wird gekürzt</translation>
    </message>
    <message>
        <source>Trimming progress</source>
        <translation>Fortschritt des Schneidens</translation>
    </message>
</context>
<context>
    <name>velarix::TrimRangeAccessible</name>
    <message>
        <source>Start of the kept range, %1</source>
        <translation>Anfang des behaltenen Bereichs, %1</translation>
    </message>
    <message>
        <source>End of the kept range, %1</source>
        <translation>Ende des behaltenen Bereichs, %1</translation>
    </message>
    <message>
        <source>Left and Right move it by a second, with Shift by ten seconds; Home and End move it as far as it goes. Tab goes to the other handle.</source>
        <translation>Links und Rechts verschieben um eine Sekunde, mit Umschalt um zehn Sekunden; Pos1 und Ende verschieben bis zum Anschlag. Tab wechselt zum anderen Griff.</translation>
    </message>
    <message>
        <source>Trim range</source>
        <translation>Schnittbereich</translation>
    </message>
    <message>
        <source>Keeps %1 to %2 of %3</source>
        <translation>Behält %1 bis %2 von %3</translation>
    </message>
</context>
<context>
    <name>velarix::TrimRangeSelector</name>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Canopy</source>
        <translation>Schirm</translation>
    </message>
</context>
<context>
    <name>velarix::TrimSummaryScreen</name>
    <message>
        <source>Add Videos…</source>
        <translation>Videos hinzufügen…</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>%1 gespart</translation>
    </message>
    <message>
        <source>%1 will be freed when the Trash is emptied</source>
        <translation>%1 werden frei, wenn der Papierkorb geleert wird</translation>
    </message>
    <message>
        <source>Saved %1; %2 more will be freed when the Trash is emptied</source>
        <translation>%1 gespart; weitere %2 werden frei, wenn der Papierkorb geleert wird</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) could not be trimmed and are unchanged; the reasons are below.</source>
        <translation>
            <numerusform>1 Video konnte nicht gekürzt werden und ist unverändert; der Grund steht unten.</numerusform>
            <numerusform>%n Videos konnten nicht gekürzt werden und sind unverändert; die Gründe stehen unten.</numerusform>
        </translation>
    </message>
    <message>
        <source>Trimmed; about %1 will be freed when the Trash is emptied</source>
        <translation>Gekürzt; etwa %1 werden frei, wenn der Papierkorb geleert wird</translation>
    </message>
    <message>
        <source>Trimmed, saved about %1</source>
        <translation>Gekürzt, etwa %1 gespart</translation>
    </message>
    <message>
        <source>Kept</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>What happened to each file</source>
        <translation>Was mit jeder Datei geschah</translation>
    </message>
</context>
<context>
    <name>velarix::UpdateDialog</name>
    <message>
        <source>Software Update</source>
        <translation>Softwareaktualisierung</translation>
    </message>
    <message>
        <source>You’re up to date!</source>
        <translation>Alles aktuell!</translation>
    </message>
    <message>
        <source>Velarix %1 is currently the newest version available.</source>
        <translation>Velarix %1 ist die neueste verfügbare Version.</translation>
    </message>
    <message>
        <source>A new version of Velarix is available!</source>
        <translation>Eine neue Version von Velarix ist verfügbar!</translation>
    </message>
    <message>
        <source>Velarix %1 is now available — you have %2.</source>
        <translation>Velarix %1 ist verfügbar — installiert ist %2.</translation>
    </message>
    <message>
        <source>Download size: %1.</source>
        <translation>Downloadgröße: %1.</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;a href=&quot;%1&quot;&gt;Read the release notes&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;a href=&quot;%1&quot;&gt;Versionshinweise lesen&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>No release notes were published with this version.</source>
        <translation>Zu dieser Version gibt es keine Versionshinweise.</translation>
    </message>
    <message>
        <source>Release notes:</source>
        <translation>Versionshinweise:</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Aktualisierungsfehler</translation>
    </message>
</context>
<context>
    <name>velarix::Updater</name>
    <message>
        <source>This build of Velarix has no update feed configured, so it cannot look for updates. Set &quot;%1&quot; in the settings file to the address of an appcast feed.</source>
        <translation>In diesem Build von Velarix ist kein Update-Feed eingerichtet, daher kann es nicht nach Updates suchen. Setzen Sie „%1“ in der Einstellungsdatei auf die Adresse eines Appcast-Feeds.</translation>
    </message>
    <message>
        <source>Velarix could not reach the update server: %1</source>
        <translation>Velarix hat den Update-Server nicht erreicht: %1</translation>
    </message>
</context>
<context>
    <name>velarix::VelarixApp</name>
    <message>
        <source>Originals of an interrupted trim were kept</source>
        <translation>Originale eines unterbrochenen Kürzens wurden behalten</translation>
    </message>
    <message>
        <source>Velarix keeps watching for camera cards</source>
        <translation>Velarix achtet weiter auf Kamerakarten</translation>
    </message>
    <message>
        <source>It opens when you insert one. To quit, open Velarix and choose File › Quit (Ctrl+Q), or turn off “Keep Velarix running in the background” in Settings.</source>
        <translation>Es öffnet sich, wenn Sie eine einlegen. Zum Beenden Velarix öffnen und Datei › Beenden (Strg+Q) wählen, oder in den Einstellungen „Velarix im Hintergrund laufen lassen“ ausschalten.</translation>
    </message>
    <message>
        <source>An import is running.</source>
        <translation>Ein Import läuft.</translation>
    </message>
    <message>
        <source>Velarix can finish the import and then quit, or stop it now: the videos copied and verified so far stay imported, the others are not imported.</source>
        <translation>Velarix kann den Import beenden und sich dann schließen, oder ihn jetzt abbrechen: Die bisher kopierten und geprüften Videos bleiben importiert, die anderen nicht.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>About Velarix</source>
        <translation>Über Velarix</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Velarix %1&lt;/h3&gt;&lt;p&gt;Imports skydiving videos from camera cards and trims them to the jump.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Velarix %1&lt;/h3&gt;&lt;p&gt;Importiert Skydiving-Videos von Kamerakarten und kürzt sie auf den Sprung.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Werkzeuge</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Velarix can move it aside (renamed with today&apos;s date, not deleted) and start a new, empty import history. Videos will then not show as imported until they are imported again.</source>
        <translation>Velarix kann sie beiseitelegen (mit dem heutigen Datum umbenannt, nicht gelöscht) und einen neuen, leeren Importverlauf beginnen. Videos gelten dann erst nach einem erneuten Import als importiert.</translation>
    </message>
    <message>
        <source>&amp;Finish Import, Then Quit</source>
        <translation>Import &amp;fertigstellen, dann beenden</translation>
    </message>
    <message>
        <source>&amp;Stop Import and Quit</source>
        <translation>Import &amp;abbrechen und beenden</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>&amp;Öffnen…</translation>
    </message>
    <message>
        <source>&amp;Settings…</source>
        <translation>&amp;Einstellungen…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Video &amp;Trimming</source>
        <translation>Videos &amp;kürzen</translation>
    </message>
    <message>
        <source>&amp;Check for Updates…</source>
        <translation>Nach &amp;Updates suchen…</translation>
    </message>
    <message>
        <source>&amp;About Velarix</source>
        <translation>Ü&amp;ber Velarix</translation>
    </message>
    <message>
        <source>Could not create ModelContainer: </source>
        <translation>Der Importverlauf konnte nicht geöffnet werden: </translation>
    </message>
    <message>
        <source>&amp;Move Aside and Start New History</source>
        <translation>Beiseite&amp;legen und neuen Verlauf beginnen</translation>
    </message>
</context>
<context>
    <name>velarix::VelarixFormView</name>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Speichern in</translation>
    </message>
    <message>
        <source>C&amp;hange…</source>
        <translation>&amp;Ändern…</translation>
    </message>
    <message>
        <source>Choose destination folder</source>
        <translation>Zielordner wählen</translation>
    </message>
    <message>
        <source>Insert &amp;Placeholder</source>
        <translation>&amp;Platzhalter einfügen</translation>
    </message>
    <message>
        <source>Filename pattern</source>
        <translation>Dateinamenmuster</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Platz</translation>
    </message>
    <message>
        <source>Open imported folder</source>
        <translation>Importordner öffnen</translation>
    </message>
    <message>
        <source>Reveal the destination folder after a successful import.</source>
        <translation>Den Zielordner nach einem erfolgreichen Import zeigen.</translation>
    </message>
    <message>
        <source>Trim after import</source>
        <translation>Nach dem Import kürzen</translation>
    </message>
    <message>
        <source>Open the imported copies in Video Trimming and analyse them, ready to review and trim.</source>
        <translation>Die importierten Kopien unter „Videos kürzen“ öffnen und analysieren, bereit zum Prüfen und Kürzen.</translation>
    </message>
    <message>
        <source>Jump Number</source>
        <translation>Sprungnummer</translation>
    </message>
    <message>
        <source>Auto increment jump number</source>
        <translation>Sprungnummer automatisch erhöhen</translation>
    </message>
    <message>
        <source>Advance the jump number after each completed import.</source>
        <translation>Die Sprungnummer nach jedem fertigen Import erhöhen.</translation>
    </message>
    <message>
        <source>Auto group nearby clips</source>
        <translation>Nahe Clips gruppieren</translation>
    </message>
    <message>
        <source>Keep nearby recordings under the same jump number.</source>
        <translation>Zeitlich nahe Aufnahmen unter derselben Sprungnummer ablegen.</translation>
    </message>
    <message>
        <source>Join chapters</source>
        <translation>Kapitel verbinden</translation>
    </message>
    <message>
        <source>Import a recording the camera split into chapters as one video.</source>
        <translation>Eine von der Kamera in Kapitel geteilte Aufnahme als ein Video importieren.</translation>
    </message>
    <message>
        <source>Import sidecar files</source>
        <translation>Begleitdateien importieren</translation>
    </message>
    <message>
        <source>Copy the files a camera writes beside a video (thumbnails, GPS, clip data) with it.</source>
        <translation>Die Dateien, die eine Kamera neben ein Video schreibt (Vorschaubilder, GPS, Clipdaten), mitkopieren.</translation>
    </message>
    <message>
        <source>Import proxy files</source>
        <translation>Proxy-Dateien importieren</translation>
    </message>
    <message>
        <source>With the sidecar files, copy the low-resolution previews (LRV, LRF) too.</source>
        <translation>Mit den Begleitdateien auch die Vorschauen in niedriger Auflösung (LRV, LRF) kopieren.</translation>
    </message>
    <message>
        <source>SD Card</source>
        <translation>SD-Karte</translation>
    </message>
    <message>
        <source>SD card actions</source>
        <translation>Aktionen der SD-Karte</translation>
    </message>
    <message>
        <source>Clear Import History</source>
        <translation>Importverlauf löschen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>SD Card Name</source>
        <translation>Kartenname</translation>
    </message>
    <message>
        <source>Files to import</source>
        <translation>Zu importierende Dateien</translation>
    </message>
    <message>
        <source>Cancel import</source>
        <translation>Import abbrechen</translation>
    </message>
    <message>
        <source>this card</source>
        <translation>diese Karte</translation>
    </message>
    <message>
        <source>%1 has no import history.</source>
        <translation>%1 hat keinen Importverlauf.</translation>
    </message>
    <message>
        <source>Clear the import history of %1?</source>
        <translation>Importverlauf von %1 löschen?</translation>
    </message>
    <message numerus="yes">
        <source>Clear the import history of %1? This removes %n record(s).</source>
        <translation>
            <numerusform>Importverlauf von %1 löschen? Dabei wird %n Eintrag entfernt.</numerusform>
            <numerusform>Importverlauf von %1 löschen? Dabei werden %n Einträge entfernt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Its videos will show as not imported and can be imported again. Copies already made stay where they are.</source>
        <translation>Ihre Videos gelten dann als nicht importiert und können erneut importiert werden. Bereits gemachte Kopien bleiben, wo sie sind.</translation>
    </message>
    <message>
        <source>C&amp;lear History</source>
        <translation>Verlauf &amp;löschen</translation>
    </message>
    <message>
        <source>Free space unknown</source>
        <translation>Freier Platz unbekannt</translation>
    </message>
    <message>
        <source>%1 available</source>
        <translation>%1 verfügbar</translation>
    </message>
    <message>
        <source>%1 needed, %2 available</source>
        <translation>%1 nötig, %2 verfügbar</translation>
    </message>
    <message>
        <source>%1 — not enough space</source>
        <translation>%1 — nicht genug Platz</translation>
    </message>
    <message>
        <source>Import progress</source>
        <translation>Fortschritt des Imports</translation>
    </message>
</context>
<context>
    <name>velarix::VelarixModel</name>
    <message>
        <source>Scanning SD card…</source>
        <translation>SD-Karte wird durchsucht…</translation>
    </message>
    <message numerus="yes">
        <source>Scanning SD card… %n video(s) found</source>
        <translation>
            <numerusform>SD-Karte wird durchsucht… %n Video gefunden</numerusform>
            <numerusform>SD-Karte wird durchsucht… %n Videos gefunden</numerusform>
        </translation>
    </message>
    <message>
        <source>Loading video details… %1 of %2</source>
        <translation>Videodetails werden geladen… %1 von %2</translation>
    </message>
    <message>
        <source>Velarix could not read the identity of the card %1 (%2). Its import history is kept under the card&apos;s name and size instead, so videos imported before may not be marked as imported.</source>
        <translation>Velarix konnte die Identität der Karte %1 nicht lesen (%2). Ihr Importverlauf wird stattdessen unter dem Namen und der Größe der Karte geführt, daher sind früher importierte Videos eventuell nicht als importiert markiert.</translation>
    </message>
    <message>
        <source>There is no card whose history could be cleared.</source>
        <translation>Es gibt keine Karte, deren Verlauf gelöscht werden könnte.</translation>
    </message>
    <message>
        <source>The import history could not be cleared. %1</source>
        <translation>Der Importverlauf konnte nicht gelöscht werden. %1</translation>
    </message>
    <message>
        <source>%1 is not a placeholder. Use %2, or remove the braces.</source>
        <translation>%1 ist kein Platzhalter. Verwende %2 oder entferne die geschweiften Klammern.</translation>
    </message>
    <message>
        <source>The filename pattern is empty. Enter a pattern such as %1 to import.</source>
        <translation>Das Dateinamensmuster ist leer. Gib ein Muster wie %1 ein, um zu importieren.</translation>
    </message>
    <message>
        <source>An import is already running.</source>
        <translation>Es läuft bereits ein Import.</translation>
    </message>
    <message>
        <source>The destination %1 is not a folder. Choose another folder.</source>
        <translation>Das Ziel %1 ist kein Ordner. Wähle einen anderen Ordner.</translation>
    </message>
    <message>
        <source>The destination folder %1 does not exist. Connect its drive or choose another folder.</source>
        <translation>Der Zielordner %1 existiert nicht. Schließe sein Laufwerk an oder wähle einen anderen Ordner.</translation>
    </message>
    <message>
        <source>Velarix cannot write to the destination folder %1 (%2). Choose another folder to import into.</source>
        <translation>Velarix kann nicht in den Zielordner %1 schreiben (%2). Wähle einen anderen Ordner für den Import.</translation>
    </message>
    <message>
        <source>Not enough free space in %1: %2 needed, %3 available.</source>
        <translation>Nicht genug freier Speicher in %1: %2 benötigt, %3 verfügbar.</translation>
    </message>
    <message>
        <source>The card&apos;s identity could not be read, so the import history could not record the copies: %1</source>
        <translation>Die Identität der Karte konnte nicht gelesen werden, daher konnte der Importverlauf die Kopien nicht erfassen: %1</translation>
    </message>
    <message>
        <source>%1 of %2 videos could not be imported: %3</source>
        <translation>%1 von %2 Videos konnten nicht importiert werden: %3</translation>
    </message>
    <message>
        <source>%1 copied videos are in place, but Velarix could not record them as imported. %2</source>
        <translation>%1 kopierte Videos sind vorhanden, aber Velarix konnte sie nicht als importiert erfassen. %2</translation>
    </message>
    <message>
        <source>The import was cancelled. </source>
        <translation>Der Import wurde abgebrochen. </translation>
    </message>
    <message>
        <source>%1 could not be copied to %2: %3</source>
        <translation>%1 konnte nicht nach %2 kopiert werden: %3</translation>
    </message>
    <message>
        <source>%1 of %2 videos could not be imported. </source>
        <translation>%1 von %2 Videos konnten nicht importiert werden. </translation>
    </message>
</context>
<context>
    <name>velarix::VelarixSettings</name>
    <message>
        <source>Velarix Settings</source>
        <translation>Velarix-Einstellungen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Keep Velarix running in the background and open it when a camera card is inserted</source>
        <translation>Velarix im Hintergrund laufen lassen und beim Einlegen einer Kamerakarte öffnen</translation>
    </message>
    <message>
        <source>Closing the last window then leaves Velarix watching for cards (in the system tray where the desktop has one). Quit with File › Quit (Ctrl+Q).</source>
        <translation>Nach dem Schließen des letzten Fensters achtet Velarix dann weiter auf Karten (im Systembereich, wo es einen gibt). Beenden mit Datei › Beenden (Strg+Q).</translation>
    </message>
    <message>
        <source>Start at login, in the background</source>
        <translation>Bei der Anmeldung im Hintergrund starten</translation>
    </message>
    <message>
        <source>Start at Login</source>
        <translation>Bei Anmeldung starten</translation>
    </message>
    <message>
        <source>Video Trimming</source>
        <translation>Videos kürzen</translation>
    </message>
    <message>
        <source>Keep originals in the Trash</source>
        <translation>Originale in den Papierkorb legen</translation>
    </message>
    <message>
        <source>A trimmed video&apos;s original goes to the Trash of its drive, where the file manager can restore it, instead of being deleted. Its space is freed only when the Trash is emptied.</source>
        <translation>Das Original eines gekürzten Videos kommt in den Papierkorb seines Laufwerks, wo der Dateimanager es wiederherstellen kann, statt gelöscht zu werden. Der Platz wird erst frei, wenn der Papierkorb geleert wird.</translation>
    </message>
</context>
<context>
    <name>velarix::VelarixView</name>
    <message numerus="yes">
        <source>All %n selected video(s) were imported before.</source>
        <translation>
            <numerusform>Das ausgewählte Video wurde schon importiert.</numerusform>
            <numerusform>Alle %n ausgewählten Videos wurden schon importiert.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n selected video(s) were imported before.</source>
        <translation>
            <numerusform>%1 von %n ausgewählten Video wurde schon importiert.</numerusform>
            <numerusform>%1 der %n ausgewählten Videos wurden schon importiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>No SD Card Found</source>
        <translation>Keine SD-Karte gefunden</translation>
    </message>
    <message>
        <source>Insert a camera card to see its videos here.</source>
        <translation>Legen Sie eine Kamerakarte ein, um ihre Videos hier zu sehen.</translation>
    </message>
    <message>
        <source>&amp;Trim Videos…</source>
        <translation>Videos &amp;kürzen…</translation>
    </message>
    <message>
        <source>Trim videos already on this computer to the jump</source>
        <translation>Videos, die schon auf diesem Computer sind, auf den Sprung kürzen</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Haupt</translation>
    </message>
    <message>
        <source>&amp;Eject</source>
        <translation>&amp;Auswerfen</translation>
    </message>
    <message>
        <source>Eject SD card [Ctrl+E]</source>
        <translation>SD-Karte auswerfen [Strg+E]</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>Import [Ctrl+I]</source>
        <translation>Importieren [Strg+I]</translation>
    </message>
    <message>
        <source>No Videos on %1</source>
        <translation>Keine Videos auf %1</translation>
    </message>
    <message>
        <source>This card has no videos in its camera folders. Choose another card on the left.</source>
        <translation>Diese Karte hat keine Videos in ihren Kameraordnern. Wählen Sie links eine andere Karte.</translation>
    </message>
    <message>
        <source>This card has no videos in its camera folders. Insert another camera card to see its videos here.</source>
        <translation>Diese Karte hat keine Videos in ihren Kameraordnern. Legen Sie eine andere Kamerakarte ein, um ihre Videos hier zu sehen.</translation>
    </message>
    <message>
        <source>%1 (%2 available)</source>
        <translation>%1 (%2 verfügbar)</translation>
    </message>
    <message>
        <source>Change Destination…</source>
        <translation>Ziel ändern…</translation>
    </message>
    <message>
        <source>Importing them again makes second copies.</source>
        <translation>Ein erneuter Import legt zweite Kopien an.</translation>
    </message>
    <message>
        <source>&amp;Skip Imported</source>
        <translation>Importierte ü&amp;berspringen</translation>
    </message>
    <message>
        <source>Import &amp;Again</source>
        <translation>&amp;Erneut importieren</translation>
    </message>
</context>
<context>
    <name>velarix::VideoPlayerView</name>
    <message>
        <source>Loading Preview</source>
        <translation>Vorschau wird geladen</translation>
    </message>
    <message>
        <source>The video could not be played.</source>
        <translation>Das Video konnte nicht abgespielt werden.</translation>
    </message>
    <message>
        <source>Preview Unavailable</source>
        <translation>Keine Vorschau</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTableDelegate</name>
    <message>
        <source>Imported</source>
        <translation>Importiert</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Unreadable</source>
        <translation>Unlesbar</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTableModel</name>
    <message>
        <source>Thumbnail</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>Imported</source>
        <translation>Importiert</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Unreadable</source>
        <translation>Unlesbar</translation>
    </message>
    <message>
        <source>imported</source>
        <extracomment>Import state as a screen reader says it within a table row</extracomment>
        <translation>importiert</translation>
    </message>
    <message>
        <source>new</source>
        <extracomment>Import state as a screen reader says it within a table row</extracomment>
        <translation>neu</translation>
    </message>
    <message>
        <source>unreadable</source>
        <extracomment>Import state as a screen reader says it within a table row</extracomment>
        <translation>nicht lesbar</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimAnalysis</name>
    <message>
        <source>Duration %1</source>
        <translation>Dauer %1</translation>
    </message>
    <message>
        <source>Unable to read duration</source>
        <translation>Dauer nicht lesbar</translation>
    </message>
    <message>
        <source>The file duration could not be loaded.</source>
        <translation>Die Dauer der Datei konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>Clip is shorter than %1, so no trim suggestion was generated.</source>
        <translation>Clip ist kürzer als %1, daher gibt es keinen Kürzvorschlag.</translation>
    </message>
    <message>
        <source>No confident trim suggestion found.</source>
        <translation>Kein sicherer Kürzvorschlag gefunden.</translation>
    </message>
    <message>
        <source>Keep %1-%2</source>
        <translation>Behalten %1–%2</translation>
    </message>
    <message>
        <source>No audio track found, so no trim suggestion was generated.</source>
        <translation>Keine Tonspur gefunden, daher wurde kein Kürzungsvorschlag erstellt.</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A suggested range and what it needs: &quot;Keep 00:40-02:30 (check before trimming)&quot;.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>check before trimming</source>
        <translation>vor dem Kürzen prüfen</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimEditorSheet</name>
    <message>
        <source>Adjust Trim Range</source>
        <translation>Kürzbereich anpassen</translation>
    </message>
    <message>
        <source>Click or press Space to play the kept range</source>
        <translation>Klicken oder Leertaste drücken, um den behaltenen Bereich abzuspielen</translation>
    </message>
    <message>
        <source>Trim Range</source>
        <translation>Kürzbereich</translation>
    </message>
    <message>
        <source>Preview at %1</source>
        <translation>Vorschau bei %1</translation>
    </message>
    <message>
        <source>Drag the left and right handles to choose the kept range.</source>
        <translation>Ziehen Sie die Griffe links und rechts, um den behaltenen Bereich zu wählen.</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Put back the range from before this editor opened (Esc)</source>
        <translation>Den Bereich von vor dem Öffnen dieses Editors wiederherstellen (Esc)</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>the exit at %1</source>
        <translation>den Exit bei %1</translation>
    </message>
    <message>
        <source>the canopy opening at %1</source>
        <translation>die Schirmöffnung bei %1</translation>
    </message>
    <message>
        <source>Leaves out %1</source>
        <translation>Lässt %1 weg</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimItem</name>
    <message>
        <source>Waiting to analyze…</source>
        <translation>Wartet auf Analyse…</translation>
    </message>
    <message>
        <source>No suggestion</source>
        <translation>Kein Vorschlag</translation>
    </message>
    <message>
        <source>no freefall noise found</source>
        <translation>kein Freifallgeräusch gefunden</translation>
    </message>
    <message>
        <source>opening not found</source>
        <translation>Öffnung nicht gefunden</translation>
    </message>
    <message>
        <source>the jump fills nearly the whole clip, so trimming would save less than 15 seconds</source>
        <translation>der Sprung füllt fast den ganzen Clip, Kürzen spart weniger als 15 Sekunden</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimItemRow</name>
    <message>
        <source>Adjust…</source>
        <translation>Anpassen…</translation>
    </message>
    <message>
        <source>Keep Full</source>
        <translation>Ganz behalten</translation>
    </message>
    <message>
        <source>Choose the kept range on a preview</source>
        <translation>Den behaltenen Bereich in einer Vorschau wählen</translation>
    </message>
    <message>
        <source>Do not trim this video</source>
        <translation>Dieses Video nicht kürzen</translation>
    </message>
    <message>
        <source>Trimmed</source>
        <translation>Gekürzt</translation>
    </message>
    <message>
        <source>Remove from the list (Delete). The file stays as it is.</source>
        <translation>Aus der Liste entfernen (Entf). Die Datei bleibt unverändert.</translation>
    </message>
    <message>
        <source>Remove from List</source>
        <translation>Aus Liste entfernen</translation>
    </message>
    <message>
        <source>Analyzing</source>
        <translation>Wird analysiert</translation>
    </message>
    <message>
        <source>Save about %1 (%2%)</source>
        <translation>Spart etwa %1 (%2 %)</translation>
    </message>
    <message>
        <source>Manually adjusted</source>
        <translation>Von Hand angepasst</translation>
    </message>
    <message>
        <source>Check before trimming: %1</source>
        <translation>Vor dem Kürzen prüfen: %1</translation>
    </message>
    <message>
        <source>Keep full video</source>
        <translation>Ganzes Video behalten</translation>
    </message>
    <message>
        <source>Manual range does not trim enough to export a new file</source>
        <translation>Der gewählte Bereich kürzt zu wenig für eine neue Datei</translation>
    </message>
    <message>
        <source>No trimming needed</source>
        <translation>Kein Kürzen nötig</translation>
    </message>
    <message>
        <source>No trim suggestion: %1.</source>
        <translation>Kein Kürzvorschlag: %1.</translation>
    </message>
    <message>
        <source>Trim failed: %1</source>
        <translation>Kürzen fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>%1 · Manual %2</source>
        <translation>%1 · Von Hand %2</translation>
    </message>
    <message>
        <source>Undo Keep Full</source>
        <translation>Ganz behalten rückgängig</translation>
    </message>
    <message>
        <source>Go back to the range before Keep Full</source>
        <translation>Zum Bereich vor „Ganz behalten“ zurückkehren</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimmingModel</name>
    <message numerus="yes">
        <source>Done. Trimmed %n video(s), %1 failed.</source>
        <translation>
            <numerusform>Fertig. %n Video gekürzt, %1 fehlgeschlagen.</numerusform>
            <numerusform>Fertig. %n Videos gekürzt, %1 fehlgeschlagen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Done. Trimmed %n video(s).</source>
        <translation>
            <numerusform>Fertig. %n Video gekürzt.</numerusform>
            <numerusform>Fertig. %n Videos gekürzt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n skipped: their suggestions need a check before trimming.</source>
        <translation>
            <numerusform>%n übersprungen: Sein Vorschlag muss vor dem Kürzen geprüft werden.</numerusform>
            <numerusform>%n übersprungen: Ihre Vorschläge müssen vor dem Kürzen geprüft werden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Analyzing audio…</source>
        <translation>Ton wird analysiert…</translation>
    </message>
    <message>
        <source>Analysis failed</source>
        <translation>Analyse fehlgeschlagen</translation>
    </message>
    <message>
        <source>Kept in full</source>
        <translation>Ganz behalten</translation>
    </message>
    <message>
        <source>Kept: less than 15 seconds to remove</source>
        <translation>Behalten: weniger als 15 Sekunden zu entfernen</translation>
    </message>
    <message>
        <source>Trimmed in place</source>
        <translation>An Ort und Stelle gekürzt</translation>
    </message>
    <message>
        <source>Kept: check before trimming (%1)</source>
        <extracomment>A file not trimmed because its suggestion needs a look; %1 says why.</extracomment>
        <translation>Behalten: vor dem Kürzen prüfen (%1)</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimmingView</name>
    <message>
        <source>Add Videos</source>
        <translation>Videos hinzufügen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>%1 is not a local file, so it cannot be trimmed in place.</source>
        <translation>%1 ist keine lokale Datei und kann daher nicht an Ort und Stelle gekürzt werden.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The suggested range may leave out part of the jump. Adjust it, or trim the others only.

</source>
        <translation>Der vorgeschlagene Bereich lässt vielleicht einen Teil des Sprungs weg. Passen Sie ihn an oder kürzen Sie nur die anderen.

</translation>
    </message>
    <message>
        <source>Trim Only the Others</source>
        <translation>Nur die anderen kürzen</translation>
    </message>
    <message>
        <source>Trim All Anyway</source>
        <translation>Trotzdem alle kürzen</translation>
    </message>
    <message>
        <source>Video Trimming</source>
        <translation>Videos kürzen</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) have ranges you adjusted that are not trimmed yet.</source>
        <translation>
            <numerusform>%n Video hat einen angepassten Bereich, der noch nicht gekürzt ist.</numerusform>
            <numerusform>%n Videos haben angepasste Bereiche, die noch nicht gekürzt sind.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) should be checked before trimming</source>
        <translation>
            <numerusform>%n Video sollte vor dem Kürzen geprüft werden</numerusform>
            <numerusform>%n Videos sollten vor dem Kürzen geprüft werden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::WindowCloseGuard</name>
    <message>
        <source>Cancel current work and close?</source>
        <translation>Laufende Arbeit abbrechen und schließen?</translation>
    </message>
    <message>
        <source>Analysis or trimming is still running.</source>
        <translation>Analyse oder Kürzen läuft noch.</translation>
    </message>
    <message>
        <source>Cancel Work and Close</source>
        <translation>Abbrechen und schließen</translation>
    </message>
    <message>
        <source>Keep Window Open</source>
        <translation>Fenster offen lassen</translation>
    </message>
    <message>
        <source>Close and discard your adjusted ranges?</source>
        <translation>Schließen und die angepassten Bereiche verwerfen?</translation>
    </message>
    <message>
        <source>Discard and Close</source>
        <translation>Verwerfen und schließen</translation>
    </message>
</context>
<context>
    <name>velarix::main</name>
    <message>
        <source>Start without a window, with only the tray icon.</source>
        <translation>Ohne Fenster starten, nur mit dem Symbol im Infobereich.</translation>
    </message>
    <message>
        <source>Imports skydiving videos from camera cards and trims them to the jump.</source>
        <translation>Importiert Skydiving-Videos von Kamerakarten und kürzt sie auf den Sprung.</translation>
    </message>
    <message>
        <source>Videos to open for trimming.</source>
        <translation>Videos, die zum Kürzen geöffnet werden.</translation>
    </message>
</context>
</TS>
