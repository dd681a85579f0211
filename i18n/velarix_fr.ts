<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>ChapterJoin</name>
    <message>
        <source>The chapter %1 does not continue the previous one (its timestamps go back); it cannot be joined.</source>
        <translation>Le chapitre %1 ne prolonge pas le précédent (ses horodatages reculent) ; il ne peut pas être joint.</translation>
    </message>
    <message>
        <source>%1 has no video.</source>
        <translation>%1 ne contient pas de vidéo.</translation>
    </message>
    <message>
        <source>The chapter %1 could not be read: %2</source>
        <translation>Le chapitre %1 n’a pas pu être lu : %2</translation>
    </message>
    <message>
        <source>Could not write the joined video %1: %2</source>
        <translation>Impossible d’écrire la vidéo assemblée %1 : %2</translation>
    </message>
    <message>
        <source>The chapter %1 has other streams or codec parameters than the first chapter; it cannot be joined.</source>
        <translation>Le chapitre %1 a d’autres flux ou paramètres de codec que le premier chapitre ; il ne peut pas être joint.</translation>
    </message>
    <message>
        <source>There is nothing to join.</source>
        <translation>Il n’y a rien à assembler.</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Mémoire insuffisante.</translation>
    </message>
    <message>
        <source>%1 has no stream that can be joined.</source>
        <translation>%1 n’a aucun flux qui puisse être assemblé.</translation>
    </message>
    <message>
        <source>the file is cut short or damaged</source>
        <translation>le fichier est tronqué ou endommagé</translation>
    </message>
    <message>
        <source>the file is cut short (%1 of %2 frames)</source>
        <translation>le fichier est tronqué (%1 images sur %2)</translation>
    </message>
    <message>
        <source>The joined video %1 does not match its chapters (%2).</source>
        <translation>La vidéo assemblée %1 ne correspond pas à ses chapitres (%2).</translation>
    </message>
    <message>
        <source>The joined video %1 could not be read back: %2</source>
        <translation>La vidéo assemblée %1 n’a pas pu être relue : %2</translation>
    </message>
    <message>
        <source>%1 streams instead of %2</source>
        <translation>%1 flux au lieu de %2</translation>
    </message>
    <message>
        <source>stream %1 has another codec</source>
        <translation>le flux %1 a un autre codec</translation>
    </message>
    <message>
        <source>the timecode is not %1</source>
        <translation>le timecode n’est pas %1</translation>
    </message>
    <message>
        <source>%1 s long instead of %2 s</source>
        <translation>d’une durée de %1 s au lieu de %2 s</translation>
    </message>
    <message>
        <source>packets of stream %1 overlap others</source>
        <translation>des paquets du flux %1 en chevauchent d’autres</translation>
    </message>
    <message>
        <source>it ends inside a packet of stream %1</source>
        <translation>il se termine au milieu d’un paquet du flux %1</translation>
    </message>
    <message>
        <source>stream %1 has %2 packets instead of %3</source>
        <translation>le flux %1 a %2 paquets au lieu de %3</translation>
    </message>
    <message>
        <source>the bytes of stream %1 differ</source>
        <translation>les octets du flux %1 diffèrent</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>Cancelled</source>
        <translation>Annulé</translation>
    </message>
    <message>
        <source>No such file or folder</source>
        <translation>Fichier ou dossier introuvable</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permission refusée</translation>
    </message>
    <message>
        <source>No space left on the disk</source>
        <translation>Plus d’espace libre sur le disque</translation>
    </message>
    <message>
        <source>The disk is read-only</source>
        <translation>Le disque est en lecture seule</translation>
    </message>
    <message>
        <source>Not a video Velarix can read, or a damaged one</source>
        <translation>Pas une vidéo que Velarix sait lire, ou une vidéo endommagée</translation>
    </message>
    <message>
        <source>In use by another program</source>
        <translation>Utilisé par un autre programme</translation>
    </message>
    <message>
        <source>The device failed to read or write</source>
        <translation>Le périphérique n’a pas pu lire ou écrire</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Échec</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 is locked by another process.</source>
        <translation>%1 est verrouillé par un autre processus.</translation>
    </message>
    <message>
        <source>The name “%1” is not valid UTF-8 (written by another system?), so Velarix cannot be sure to reach that very file, and leaves it alone. Rename it in UTF-8 (for example: convmv -f latin1 -t utf-8 --notest FILE).</source>
        <translation>Le nom « %1 » n’est pas de l’UTF-8 valide (écrit par un autre système ?) : Velarix ne peut pas être sûr d’atteindre ce fichier précis et n’y touche pas. Renommez-le en UTF-8 (par exemple : convmv -f latin1 -t utf-8 --notest FICHIER).</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>read</source>
        <translation>lu</translation>
    </message>
    <message>
        <source>opened</source>
        <translation>ouvert</translation>
    </message>
    <message>
        <source>%1 is not a Velarix history store.</source>
        <translation>%1 n’est pas un historique de Velarix.</translation>
    </message>
    <message>
        <source>%1 was written by a newer version of Velarix (schema %2); this version reads schema %3.</source>
        <translation>%1 a été écrit par une version plus récente de Velarix (schéma %2) ; cette version lit le schéma %3.</translation>
    </message>
    <message>
        <source>The folder %1 could not be created.</source>
        <translation>Le dossier %1 n’a pas pu être créé.</translation>
    </message>
    <message>
        <source>%1 could not be moved aside: %2</source>
        <translation>%1 n’a pas pu être mis de côté : %2</translation>
    </message>
    <message>
        <source>%1 could not be moved aside.</source>
        <translation>%1 n’a pas pu être mis de côté.</translation>
    </message>
    <message>
        <source>written</source>
        <translation>écrit</translation>
    </message>
    <message>
        <source>saved</source>
        <translation>enregistré</translation>
    </message>
    <message>
        <source>The history store %1 is in use by another Velarix process (still busy after %2 seconds), so it could not be %3.</source>
        <translation>L’historique %1 est utilisé par un autre processus Velarix (toujours occupé après %2 secondes) ; il n’a donc pas pu être %3.</translation>
    </message>
    <message>
        <source>The history store %1 is damaged (%2).</source>
        <translation>L’historique %1 est endommagé (%2).</translation>
    </message>
    <message>
        <source>The history store %1 could not be %2: %3.</source>
        <translation>L’historique %1 n’a pas pu être %2 : %3.</translation>
    </message>
    <message>
        <source>upgraded to schema %1</source>
        <translation>mis à jour vers le schéma %1</translation>
    </message>
    <message>
        <source>%1 has the unknown schema %2; this version of Velarix reads schema %3.</source>
        <translation>%1 a le schéma inconnu %2 ; cette version de Velarix lit le schéma %3.</translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message>
        <source>Neither the identity nor the size of %1 could be read.</source>
        <translation>Ni l’identité ni la taille de %1 n’ont pu être lues.</translation>
    </message>
    <message>
        <source>Another import from this card is already running (in Velarix or velarix-cli). Nothing was copied; import again when it has finished.</source>
        <translation>Une autre importation depuis cette carte est déjà en cours (dans Velarix ou velarix-cli). Rien n’a été copié ; importez à nouveau quand elle sera terminée.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>Le fichier est vide.</translation>
    </message>
    <message>
        <source>%1 is not a file.</source>
        <translation>%1 n’est pas un fichier.</translation>
    </message>
    <message>
        <source>The manifest is larger than 64 KiB.</source>
        <translation>Le manifeste dépasse 64 Kio.</translation>
    </message>
    <message>
        <source>The data isn&apos;t valid JSON: %1</source>
        <translation>Les données ne sont pas du JSON valide : %1</translation>
    </message>
    <message>
        <source>The data isn&apos;t a JSON object.</source>
        <translation>Les données ne sont pas un objet JSON.</translation>
    </message>
    <message>
        <source>No value associated with key &quot;name&quot;.</source>
        <translation>Aucune valeur pour la clé &quot;name&quot;.</translation>
    </message>
    <message>
        <source>Expected a string for key &quot;name&quot;.</source>
        <translation>Une chaîne était attendue pour la clé &quot;name&quot;.</translation>
    </message>
    <message>
        <source>chapter %1 of recording %2 is missing</source>
        <translation>le chapitre %1 de l’enregistrement %2 manque</translation>
    </message>
    <message>
        <source>its streams or codec parameters differ from those of %1 (%2 against %3)</source>
        <translation>ses flux ou paramètres de codec diffèrent de ceux de %1 (%2 contre %3)</translation>
    </message>
    <message>
        <source>an earlier chapter of recording %1 cannot be joined</source>
        <translation>un chapitre précédent de l’enregistrement %1 ne peut pas être joint</translation>
    </message>
    <message>
        <source>Reading the card failed (%1): the card was removed.</source>
        <translation>La lecture de la carte a échoué (%1) : la carte a été retirée.</translation>
    </message>
    <message>
        <source>Reading the card failed (%1), and the card no longer answers: check that it is still in, then try again.</source>
        <translation>La lecture de la carte a échoué (%1) et la carte ne répond plus : vérifiez qu’elle est toujours insérée, puis réessayez.</translation>
    </message>
    <message>
        <source>Reading the card failed (%1). The card is still in, so it may be damaged: try again, or copy the file with another card reader.</source>
        <translation>La lecture de la carte a échoué (%1). La carte est toujours insérée, elle est donc peut-être endommagée : réessayez, ou copiez le fichier avec un autre lecteur de cartes.</translation>
    </message>
    <message>
        <source>Invalid file size</source>
        <translation>Taille de fichier invalide</translation>
    </message>
    <message>
        <source>The file changed while it was copied (%1 of %2 bytes read); was the card removed?</source>
        <translation>Le fichier a changé pendant la copie (%1 octets lus sur %2) ; la carte a-t-elle été retirée ?</translation>
    </message>
    <message>
        <source>The copy does not match the original (checksum mismatch).</source>
        <translation>La copie ne correspond pas à l’original (sommes de contrôle différentes).</translation>
    </message>
    <message>
        <source>No free name for %1 in %2: %3 up to %4 are all taken.</source>
        <translation>Aucun nom libre pour %1 dans %2 : de %3 à %4, tous sont pris.</translation>
    </message>
    <message>
        <source>%1: Invalid file size</source>
        <translation>%1 : taille de fichier invalide</translation>
    </message>
</context>
<context>
    <name>Media</name>
    <message>
        <source>No frame within %1 s.</source>
        <translation>Aucune image dans les %1 s.</translation>
    </message>
    <message>
        <source>The file has no video stream.</source>
        <translation>Le fichier n’a pas de flux vidéo.</translation>
    </message>
    <message>
        <source>The video&apos;s format cannot be decoded.</source>
        <translation>Le format de la vidéo ne peut pas être décodé.</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Mémoire insuffisante.</translation>
    </message>
    <message>
        <source>The video decoder could not be opened: %1</source>
        <translation>Le décodeur vidéo n’a pas pu être ouvert : %1</translation>
    </message>
    <message>
        <source>The frame could not be converted.</source>
        <translation>L’image n’a pas pu être convertie.</translation>
    </message>
    <message>
        <source>Seeking to the frame failed.</source>
        <translation>Le positionnement sur l’image a échoué.</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Le fichier %1 n’existe pas.</translation>
    </message>
    <message>
        <source>%1 is not a file.</source>
        <translation>%1 n’est pas un fichier.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2</source>
        <translation>%1 n’a pas pu être lu : %2</translation>
    </message>
    <message>
        <source>%1 could not be opened as a video: %2</source>
        <translation>%1 n’a pas pu être ouvert comme vidéo : %2</translation>
    </message>
    <message>
        <source>%1 could not be read as a video: %2</source>
        <translation>%1 n’a pas pu être lu comme vidéo : %2</translation>
    </message>
    <message>
        <source>%1 has no known duration.</source>
        <translation>La durée de %1 est inconnue.</translation>
    </message>
    <message>
        <source>The recording was cut short (a flat battery or the card taken out while filming?): the camera never wrote its index. Put the card back in the camera: many cameras repair such a file when they start.</source>
        <translation>L’enregistrement a été interrompu (batterie vide ou carte retirée pendant le tournage ?) : la caméra n’a jamais écrit son index. Remettez la carte dans la caméra : beaucoup de caméras réparent un tel fichier au démarrage.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>Le fichier est vide.</translation>
    </message>
    <message>
        <source>Not a video Velarix can read (%1).</source>
        <translation>Pas une vidéo que Velarix sait lire (%1).</translation>
    </message>
    <message>
        <source>The file holds no video.</source>
        <translation>Le fichier ne contient pas de vidéo.</translation>
    </message>
    <message>
        <source>Not a video Velarix can read (its length is not stated in it).</source>
        <translation>Pas une vidéo que Velarix sait lire (sa durée n’y est pas indiquée).</translation>
    </message>
    <message>
        <source>The recording is cut short: the file has %1 of its %2.</source>
        <translation>L’enregistrement est tronqué : le fichier a %1 sur ses %2.</translation>
    </message>
    <message>
        <source>No thumbnail for %1: %2</source>
        <translation>Pas de vignette pour %1 : %2</translation>
    </message>
    <message>
        <source>the video has no decodable frame</source>
        <translation>la vidéo n’a aucune image décodable</translation>
    </message>
    <message>
        <source>the requested size is empty</source>
        <translation>la taille demandée est vide</translation>
    </message>
    <message>
        <source>it has no video stream that can be decoded</source>
        <translation>elle n’a aucun flux vidéo décodable</translation>
    </message>
    <message>
        <source>the decoder could not be set up</source>
        <translation>le décodeur n’a pas pu être configuré</translation>
    </message>
    <message>
        <source>the frame has no size</source>
        <translation>l’image n’a pas de taille</translation>
    </message>
    <message>
        <source>the frame&apos;s pixel format cannot be converted</source>
        <translation>le format de pixels de l’image ne peut pas être converti</translation>
    </message>
    <message>
        <source>the frame could not be scaled</source>
        <translation>l’image n’a pas pu être mise à l’échelle</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Altitude %1–%2 m</source>
        <translation>Altitude %1–%2 m</translation>
    </message>
    <message>
        <source>Acceleration, up to %1 g</source>
        <translation>Accélération, jusqu’à %1 g</translation>
    </message>
    <message>
        <source>MP4, MOV and 360 videos (*.mp4 *.MP4 *.mov *.MOV *.360 *.insv *.INSV)</source>
        <translation>Vidéos MP4, MOV et 360 (*.mp4 *.MP4 *.mov *.MOV *.360 *.insv *.INSV)</translation>
    </message>
    <message>
        <source>MPEG-4 movies (*.mp4 *.MP4 *.m4v *.M4V)</source>
        <translation>Films MPEG-4 (*.mp4 *.MP4 *.m4v *.M4V)</translation>
    </message>
    <message>
        <source>Movies (*.mp4 *.MP4 *.m4v *.mov *.MOV *.mkv *.avi *.webm *.mts *.MTS *.mpg *.mpeg *.360 *.insv)</source>
        <translation>Films (*.mp4 *.MP4 *.m4v *.mov *.MOV *.mkv *.avi *.webm *.mts *.MTS *.mpg *.mpeg *.360 *.insv)</translation>
    </message>
    <message>
        <source>360 videos (*.360 *.insv *.INSV)</source>
        <translation>Vidéos 360 (*.360 *.insv *.INSV)</translation>
    </message>
</context>
<context>
    <name>Trash</name>
    <message>
        <source>The Trash folder %1 cannot be used: %2.</source>
        <translation>Le dossier de la corbeille %1 ne peut pas être utilisé : %2.</translation>
    </message>
    <message>
        <source>There is no Trash on the file system at %1 (%2 cannot be made: %3).</source>
        <translation>Il n’y a pas de corbeille sur le système de fichiers de %1 (%2 ne peut pas être créé : %3).</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 ne peut pas être lu : %2</translation>
    </message>
    <message>
        <source>The Trash at %1 is on another file system.</source>
        <translation>La corbeille de %1 est sur un autre système de fichiers.</translation>
    </message>
    <message>
        <source>The Trash at %1 cannot be written: %2.</source>
        <translation>La corbeille de %1 ne peut pas être écrite : %2.</translation>
    </message>
    <message>
        <source>The file system of %1 cannot keep the original while the trimmed copy takes its place (%2).</source>
        <translation>Le système de fichiers de %1 ne peut pas garder l’original pendant que la copie rognée prend sa place (%2).</translation>
    </message>
    <message>
        <source>The Trash at %1 holds too many files named %2.</source>
        <translation>La corbeille de %1 contient trop de fichiers nommés %2.</translation>
    </message>
    <message>
        <source>Could not move %1 to the Trash: %2</source>
        <translation>Impossible de mettre %1 à la corbeille : %2</translation>
    </message>
</context>
<context>
    <name>TrimAnalysis</name>
    <message>
        <source>Unable to prepare the audio reader.</source>
        <translation>Impossible de préparer le lecteur audio.</translation>
    </message>
    <message>
        <source>Audio analysis failed to start.</source>
        <translation>L’analyse audio n’a pas pu démarrer.</translation>
    </message>
    <message>
        <source>Audio analysis failed.</source>
        <translation>L’analyse audio a échoué.</translation>
    </message>
    <message>
        <source>Audio analysis for %1 exceeded %2 seconds.</source>
        <translation>L’analyse du son de %1 a dépassé %2 secondes.</translation>
    </message>
</context>
<context>
    <name>TrimCommand</name>
    <message>
        <source>Saved %1.</source>
        <translation>%1 économisés.</translation>
    </message>
    <message>
        <source>%1 will be freed when the Trash is emptied.</source>
        <translation>%1 seront libérés une fois la corbeille vidée.</translation>
    </message>
    <message>
        <source>Saved %1; %2 more will be freed when the Trash is emptied.</source>
        <translation>%1 économisés ; %2 de plus seront libérés une fois la corbeille vidée.</translation>
    </message>
    <message>
        <source>%1; %2 will be freed when the Trash is emptied</source>
        <translation>%1 ; %2 seront libérés une fois la corbeille vidée</translation>
    </message>
    <message>
        <source>--range takes START-END, e.g. 40-150 or 00:40-02:30</source>
        <translation>--range attend DÉBUT-FIN, p. ex. 40-150 ou 00:40-02:30</translation>
    </message>
    <message>
        <source>--range &apos;%1&apos; is missing its %2; give both, e.g. 40-150 or 00:40-02:30</source>
        <translation>--range &apos;%1&apos; n’a pas de %2 ; donnez les deux, p. ex. 40-150 ou 00:40-02:30</translation>
    </message>
    <message>
        <source>start</source>
        <translation>début</translation>
    </message>
    <message>
        <source>end</source>
        <translation>fin</translation>
    </message>
    <message>
        <source>--range &apos;%1&apos; is not START-END in seconds or minutes:seconds</source>
        <translation>--range &apos;%1&apos; n’est pas DÉBUT-FIN en secondes ou minutes:secondes</translation>
    </message>
    <message>
        <source>--range &apos;%1&apos; ends before it starts</source>
        <translation>--range &apos;%1&apos; se termine avant de commencer</translation>
    </message>
    <message>
        <source>%1 (%2 bytes)</source>
        <translation>%1 (%2 octets)</translation>
    </message>
    <message>
        <source>%1 %2 skipped: the suggested range may leave out part of the jump. Look with `velarix-cli analyze`, then trim with --range, or pass --trust-suggestions.
</source>
        <translation>%1 %2 ignoré(s) : la plage suggérée pourrait omettre une partie du saut. Examinez-la avec `velarix-cli analyze`, puis coupez avec --range, ou passez --trust-suggestions.
</translation>
    </message>
    <message>
        <source>file was</source>
        <translation>fichier a été</translation>
    </message>
    <message>
        <source>files were</source>
        <translation>fichiers ont été</translation>
    </message>
    <message>
        <source>%1 has no video, only sound or data, so there is nothing to trim.</source>
        <translation>%1 ne contient pas de vidéo, seulement du son ou des données : il n’y a rien à couper.</translation>
    </message>
    <message>
        <source>%1 is still being written by another program, so it was left as it is. Trim it once that program is done with it.</source>
        <translation>%1 est encore en cours d’écriture par un autre programme, il a donc été laissé tel quel. Coupez-le une fois que ce programme en a fini avec lui.</translation>
    </message>
    <message>
        <source>Would trim: removes %1 %, saves about %2</source>
        <translation>Serait coupé : retire %1 %, économise environ %2</translation>
    </message>
    <message>
        <source>Not an MP4, MOV or 360 video, left alone.</source>
        <translation>Pas une vidéo MP4, MOV ou 360, laissée telle quelle.</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Le fichier %1 n’existe pas.</translation>
    </message>
    <message>
        <source>Not a readable video.</source>
        <translation>Pas une vidéo lisible.</translation>
    </message>
    <message>
        <source>The range ends after the clip, which is %1 long.</source>
        <translation>La plage se termine après le clip, qui dure %1.</translation>
    </message>
    <message>
        <source>Trimming %1</source>
        <translation>Coupe de %1</translation>
    </message>
    <message>
        <source>Trimming %1 %2 %</source>
        <translation>Coupe de %1 %2 %</translation>
    </message>
    <message>
        <source>Trimmed in place</source>
        <translation>Coupée sur place</translation>
    </message>
    <message>
        <source>Trimmed in place, %1 chapters joined into %2</source>
        <translation>Coupée sur place, %1 chapitres réunis dans %2</translation>
    </message>
    <message>
        <source>Analysing %1/%2</source>
        <translation>Analyse %1/%2</translation>
    </message>
    <message>
        <source>Trimming %1/%2</source>
        <translation>Coupe %1/%2</translation>
    </message>
    <message>
        <source>Skipped: check before trimming (%1).</source>
        <translation>Ignoré : à vérifier avant de couper (%1).</translation>
    </message>
    <message>
        <source>Not trimmed</source>
        <translation>Non coupée</translation>
    </message>
    <message>
        <source>The suggestion removes less than 15 seconds, left alone.</source>
        <translation>La suggestion retire moins de 15 secondes, laissée telle quelle.</translation>
    </message>
    <message>
        <source>Would trim %1 of %2 videos, saving about %3.
</source>
        <translation>Couperait %1 vidéos sur %2, en économisant environ %3.
</translation>
    </message>
    <message>
        <source>trim: --range needs START-END, e.g. 40-150</source>
        <translation>trim : --range attend DÉBUT-FIN, p. ex. 40-150</translation>
    </message>
    <message>
        <source>trim: unknown option &apos;%1&apos;</source>
        <translation>trim : option inconnue &apos;%1&apos;</translation>
    </message>
    <message>
        <source>trim: no video files given</source>
        <translation>trim : aucun fichier vidéo indiqué</translation>
    </message>
</context>
<context>
    <name>TrimExport</name>
    <message>
        <source>The chapter %1 has other streams or codec parameters than the first chapter, %2; the recording cannot be trimmed as one video.</source>
        <translation>Le chapitre %1 a d’autres flux ou paramètres de codec que le premier chapitre, %2 ; l’enregistrement ne peut pas être rogné comme une seule vidéo.</translation>
    </message>
    <message>
        <source>Could not seek to the start of the range: %1</source>
        <translation>Impossible d’aller au début de la plage : %1</translation>
    </message>
    <message>
        <source>Unable to create an export session.</source>
        <translation>Impossible de créer une session d’exportation.</translation>
    </message>
    <message>
        <source>Could not seek to the start of the range in %1: %2</source>
        <translation>Impossible d’aller au début de la plage dans %1 : %2</translation>
    </message>
    <message>
        <source>Could not read the video: %1</source>
        <translation>Impossible de lire la vidéo : %1</translation>
    </message>
    <message>
        <source>Could not read %1: %2</source>
        <translation>Impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>Could not read %1: the file is cut short or damaged.</source>
        <translation>Impossible de lire %1 : le fichier est tronqué ou endommagé.</translation>
    </message>
    <message>
        <source>Could not write the trimmed copy %1: %2</source>
        <translation>Impossible d’écrire la copie rognée %1 : %2</translation>
    </message>
    <message>
        <source>Could not end the trimmed copy %1 at the range&apos;s end: %2</source>
        <translation>Impossible de terminer la copie rognée %1 à la fin de la plage : %2</translation>
    </message>
    <message>
        <source>its movie header is unreadable or not at the end</source>
        <translation>son en-tête de film est illisible ou n’est pas à la fin</translation>
    </message>
    <message>
        <source>its movie header has no duration</source>
        <translation>son en-tête de film n’a pas de durée</translation>
    </message>
    <message>
        <source>its movie header changed size</source>
        <translation>son en-tête de film a changé de taille</translation>
    </message>
    <message>
        <source>Could not carry the camera data over to %1: %2</source>
        <translation>Impossible de reporter les données de la caméra dans %1 : %2</translation>
    </message>
    <message>
        <source>track %1 is missing</source>
        <translation>la piste %1 manque</translation>
    </message>
    <message>
        <source>track %1 has an unusual layout</source>
        <translation>la piste %1 a une disposition inhabituelle</translation>
    </message>
    <message>
        <source>the source&apos;s movie header is unreadable</source>
        <translation>l’en-tête de film de la source est illisible</translation>
    </message>
    <message>
        <source>its movie header is unreadable</source>
        <translation>son en-tête de film est illisible</translation>
    </message>
    <message>
        <source>the movie header is not at the end of the file</source>
        <translation>l’en-tête de film n’est pas à la fin du fichier</translation>
    </message>
    <message>
        <source>The timecode track could not be read.</source>
        <translation>La piste de timecode n’a pas pu être lue.</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Mémoire insuffisante.</translation>
    </message>
    <message>
        <source>Unable to create an export session. (%1)</source>
        <translation>Impossible de créer une session d’exportation. (%1)</translation>
    </message>
    <message>
        <source>Could not decode the video for re-encoding</source>
        <translation>Impossible de décoder la vidéo pour la réencoder</translation>
    </message>
    <message>
        <source>Could not re-encode the video</source>
        <translation>Impossible de réencoder la vidéo</translation>
    </message>
    <message>
        <source>no decoder for its codec</source>
        <translation>aucun décodeur pour son codec</translation>
    </message>
    <message>
        <source>the decoder could not be opened</source>
        <translation>le décodeur n’a pas pu être ouvert</translation>
    </message>
    <message>
        <source>the encoder could not be opened</source>
        <translation>l’encodeur n’a pas pu être ouvert</translation>
    </message>
    <message>
        <source>no output stream</source>
        <translation>aucun flux de sortie</translation>
    </message>
    <message>
        <source>the encoder could not be set up</source>
        <translation>l’encodeur n’a pas pu être configuré</translation>
    </message>
    <message>
        <source>libx264 is not available</source>
        <translation>libx264 n’est pas disponible</translation>
    </message>
    <message>
        <source>Could not convert the picture</source>
        <translation>Impossible de convertir l’image</translation>
    </message>
    <message>
        <source>no AAC encoder</source>
        <translation>aucun encodeur AAC</translation>
    </message>
    <message>
        <source>the resampler could not be set up</source>
        <translation>le rééchantillonneur n’a pas pu être configuré</translation>
    </message>
    <message>
        <source>Could not convert the sound</source>
        <translation>Impossible de convertir le son</translation>
    </message>
    <message>
        <source>only video and sound can be re-encoded</source>
        <translation>seuls la vidéo et le son peuvent être réencodés</translation>
    </message>
    <message>
        <source>Not trimmed, because its original could not be kept in the Trash: %1 With “Keep originals in the Trash” off it can be trimmed, and its original deleted.</source>
        <translation>Non rognée, car son original n’a pas pu être gardé dans la corbeille : %1 Avec « Garder les originaux dans la corbeille » désactivé, elle peut être rognée et son original supprimé.</translation>
    </message>
    <message>
        <source>Not trimmed, because the chapter %1 could not be kept in the Trash: %2</source>
        <translation>Non rognée, car le chapitre %1 n’a pas pu être gardé dans la corbeille : %2</translation>
    </message>
    <message>
        <source>The %1 of %2, left behind by an interrupted trim, was moved to the Trash.</source>
        <translation>L’élément « %1 » de %2, laissé par un rognage interrompu, a été mis à la corbeille.</translation>
    </message>
    <message>
        <source>The %1 of %2, left behind by an interrupted trim, was kept as %3.</source>
        <translation>L’élément « %1 » de %2, laissé par un rognage interrompu, a été gardé sous le nom %3.</translation>
    </message>
    <message>
        <source>The %1 of %2, left behind by an interrupted trim, could not be kept beside it (%3); it stays in %4.</source>
        <translation>L’élément « %1 » de %2, laissé par un rognage interrompu, n’a pas pu être gardé à côté (%3) ; il reste dans %4.</translation>
    </message>
    <message>
        <source>replaced chapter</source>
        <translation>chapitre remplacé</translation>
    </message>
    <message>
        <source>Could not create a working folder next to %1: %2</source>
        <translation>Impossible de créer un dossier de travail à côté de %1 : %2</translation>
    </message>
    <message>
        <source>%1 ends in the 360 camera&apos;s own data (%2 bytes after the video: its sensors and what its software needs to stitch the lenses). A cut cannot keep it, so %1 is left as it is.</source>
        <translation>%1 se termine par les données propres de la caméra 360 (%2 octets après la vidéo : ses capteurs et ce dont son logiciel a besoin pour assembler les objectifs). Une coupe ne peut pas les garder, %1 reste donc tel quel.</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes of the camera&apos;s own data after the video, which a cut cannot keep, so it is left as it is.</source>
        <translation>%1 contient après la vidéo %2 octets de données propres à la caméra, qu’une coupe ne peut pas garder ; il reste donc tel quel.</translation>
    </message>
    <message>
        <source>%1 is one lens of a 360 clip whose other lens is %2; cutting one alone would put them out of step, so it is left as it is.</source>
        <translation>%1 est un objectif d’un clip 360 dont l’autre objectif est %2 ; en couper un seul les désynchroniserait, il reste donc tel quel.</translation>
    </message>
    <message>
        <source>The trimmed copy of %1 could not be read back, so %1 was left as it is: %2</source>
        <translation>La copie rognée de %1 n’a pas pu être relue, %1 a donc été laissé tel quel : %2</translation>
    </message>
    <message>
        <source>The trimmed copy of %1 came out wrong (%2 instead of %3 long, %4 of %5 video streams), so %1 was left as it is.</source>
        <translation>La copie rognée de %1 est incorrecte (durée %2 au lieu de %3, %4 flux vidéo sur %5), %1 a donc été laissé tel quel.</translation>
    </message>
    <message>
        <source>%1 is still being written by another program, so it was left as it is. Trim it once that program is done with it.</source>
        <translation>%1 est encore en cours d’écriture par un autre programme, il a donc été laissé tel quel. Rognez-le quand ce programme en aura fini.</translation>
    </message>
    <message>
        <source>%1 was deleted or moved while it was being trimmed.</source>
        <translation>%1 a été supprimé ou déplacé pendant le rognage.</translation>
    </message>
    <message>
        <source>%1 was changed while it was being trimmed, so it was left as it is.</source>
        <translation>%1 a été modifié pendant le rognage, il a donc été laissé tel quel.</translation>
    </message>
    <message>
        <source>Could not replace %1 by its trimmed copy: %2</source>
        <translation>Impossible de remplacer %1 par sa copie rognée : %2</translation>
    </message>
    <message>
        <source>%1 could not be read: %2</source>
        <translation>%1 n’a pas pu être lu : %2</translation>
    </message>
    <message>
        <source>%1 is read-only, so it was left as it is. Make it writable (in its properties, or chmod u+w) to trim it.</source>
        <translation>%1 est en lecture seule, il a donc été laissé tel quel. Rendez-le modifiable (dans ses propriétés, ou avec chmod u+w) pour le rogner.</translation>
    </message>
    <message>
        <source>No trim range available.</source>
        <translation>Aucune plage de rognage disponible.</translation>
    </message>
    <message>
        <source>%1 has no video, only sound or data, so there is nothing to trim.</source>
        <translation>%1 n’a pas de vidéo, seulement du son ou des données : il n’y a rien à rogner.</translation>
    </message>
    <message>
        <source>The duration of %1 could not be read.</source>
        <translation>La durée de %1 n’a pas pu être lue.</translation>
    </message>
    <message>
        <source>The range %1 to %2 does not lie within %3, which is %4 long.</source>
        <translation>La plage de %1 à %2 n’est pas comprise dans %3, qui dure %4.</translation>
    </message>
    <message>
        <source>original</source>
        <translation>original</translation>
    </message>
</context>
<context>
    <name>Volumes</name>
    <message>
        <source>The list of mounted volumes could not be read: %1</source>
        <translation>La liste des volumes montés n’a pas pu être lue : %1</translation>
    </message>
    <message>
        <source>The disk service (UDisks2) is not available</source>
        <translation>Le service des disques (UDisks2) n’est pas disponible</translation>
    </message>
    <message>
        <source>The disk service could not find %1</source>
        <translation>Le service des disques n’a pas trouvé %1</translation>
    </message>
    <message>
        <source>The volume could not be unmounted</source>
        <translation>Le volume n’a pas pu être démonté</translation>
    </message>
    <message>
        <source>The drive of the volume could not be found</source>
        <translation>Le lecteur du volume est introuvable</translation>
    </message>
    <message>
        <source>The drive could not be asked</source>
        <translation>Le lecteur n’a pas pu être interrogé</translation>
    </message>
    <message>
        <source>The drive could not be powered off</source>
        <translation>Le lecteur n’a pas pu être mis hors tension</translation>
    </message>
    <message>
        <source>%1 cannot be ejected: the disk service does not know %2.</source>
        <translation>%1 ne peut pas être éjecté : le service des disques ne connaît pas %2.</translation>
    </message>
    <message>
        <source>%1 could not be ejected. %2</source>
        <translation>%1 n’a pas pu être éjecté. %2</translation>
    </message>
    <message>
        <source>%1 was unmounted, but its drive could not be powered off. %2</source>
        <translation>%1 a été démonté, mais son lecteur n’a pas pu être mis hors tension. %2</translation>
    </message>
    <message>
        <source>%1 cannot be ejected: it is not a mounted volume.</source>
        <translation>%1 ne peut pas être éjecté : ce n’est pas un volume monté.</translation>
    </message>
    <message>
        <source>there is no system bus</source>
        <translation>il n’y a pas de bus système</translation>
    </message>
    <message>
        <source>UDisks2 did not answer (%1)</source>
        <translation>UDisks2 n’a pas répondu (%1)</translation>
    </message>
    <message>
        <source>UDisks2 does not know %1</source>
        <translation>UDisks2 ne connaît pas %1</translation>
    </message>
    <message>
        <source>udev has no link for it</source>
        <translation>udev n’a pas de lien pour lui</translation>
    </message>
    <message>
        <source>no way to read it is enabled</source>
        <translation>aucun moyen de la lire n’est activé</translation>
    </message>
    <message>
        <source>The volumes folder %1 cannot be listed.</source>
        <translation>Le dossier des volumes %1 ne peut pas être listé.</translation>
    </message>
    <message>
        <source>The identity of %1 could not be read: %2</source>
        <translation>L’identité de %1 n’a pas pu être lue : %2</translation>
    </message>
    <message>
        <source>The identity of %1 could not be read.</source>
        <translation>L’identité de %1 n’a pas pu être lue.</translation>
    </message>
</context>
<context>
    <name>velarix-cli</name>
    <message>
        <source>%1 free</source>
        <translation>%1 libres</translation>
    </message>
    <message>
        <source>No camera cards found.</source>
        <translation>Aucune carte de caméra trouvée.</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n vidéo</numerusform>
            <numerusform>%n vidéos</numerusform>
        </translation>
    </message>
    <message>
        <source>(no date)</source>
        <translation>(sans date)</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) cannot be read as video; an import copies them as they are.</source>
        <translation>
            <numerusform>%n fichier illisible comme vidéo ; un import le copie tel quel.</numerusform>
            <numerusform>%n fichiers illisibles comme vidéo ; un import les copie tels quels.</numerusform>
        </translation>
    </message>
    <message>
        <source>Try &apos;velarix-cli --help&apos;.</source>
        <translation>Voir &apos;velarix-cli --help&apos;.</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Remarque :</translation>
    </message>
    <message>
        <source>GPS altitude</source>
        <translation>altitude GPS</translation>
    </message>
    <message>
        <source>accelerometer</source>
        <translation>accéléromètre</translation>
    </message>
    <message>
        <source>exit %1, canopy opening by audio %2, by frames %3</source>
        <translation>sortie %1, ouverture de la voile d’après le son %2, d’après l’image %3</translation>
    </message>
    <message>
        <source>telemetry (%1): exit %2, canopy opening %3</source>
        <translation>télémétrie (%1) : sortie %2, ouverture de la voile %3</translation>
    </message>
    <message>
        <source>Check before trimming: %1.</source>
        <translation>À vérifier avant de couper : %1.</translation>
    </message>
    <message>
        <source>levels (dB per half second):</source>
        <translation>niveaux (dB par demi-seconde) :</translation>
    </message>
    <message>
        <source>analyze: unknown option &apos;%1&apos;</source>
        <translation>analyze : option inconnue &apos;%1&apos;</translation>
    </message>
    <message>
        <source>analyze: no video files given</source>
        <translation>analyze : aucun fichier vidéo indiqué</translation>
    </message>
    <message>
        <source>[%1/%2] analysing %3</source>
        <translation>[%1/%2] analyse de %3</translation>
    </message>
    <message>
        <source>suggests a trim range from exit to canopy opening for each video</source>
        <translation>propose pour chaque vidéo une plage de la sortie à l’ouverture de la voile</translation>
    </message>
    <message>
        <source>cards takes no arguments</source>
        <translation>cards ne prend aucun argument</translation>
    </message>
    <message>
        <source>lists the mounted camera cards</source>
        <translation>liste les cartes de caméra montées</translation>
    </message>
    <message>
        <source>--card needs a folder</source>
        <translation>--card demande un dossier</translation>
    </message>
    <message>
        <source>--pattern needs a pattern</source>
        <translation>--pattern demande un modèle</translation>
    </message>
    <message>
        <source>--jump needs a whole number</source>
        <translation>--jump demande un nombre entier</translation>
    </message>
    <message>
        <source>--name needs a card name</source>
        <translation>--name demande un nom de carte</translation>
    </message>
    <message>
        <source>--dest needs a folder</source>
        <translation>--dest demande un dossier</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>option inconnue &apos;%1&apos;</translation>
    </message>
    <message>
        <source>choose one of --all, --new or file names</source>
        <translation>choisissez entre --all, --new ou des noms de fichiers</translation>
    </message>
    <message>
        <source>No temporary folder is available.</source>
        <translation>Aucun dossier temporaire n’est disponible.</translation>
    </message>
    <message>
        <source>To keep it and start a new history, move it aside: mv &apos;%1&apos; &apos;%1.damaged-%2&apos;</source>
        <translation>Pour le garder et commencer un nouvel historique, mettez-le de côté : mv &apos;%1&apos; &apos;%1.damaged-%2&apos;</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 n’est pas un dossier</translation>
    </message>
    <message>
        <source>%1 is not a camera card (it has no DCIM folder and no camera video folder such as PRIVATE/M4ROOT/CLIP)</source>
        <translation>%1 n’est pas une carte de caméra (elle n’a ni dossier DCIM ni dossier vidéo de caméra comme PRIVATE/M4ROOT/CLIP)</translation>
    </message>
    <message>
        <source>no camera card found (a mounted volume with a DCIM or camera video folder)</source>
        <translation>aucune carte de caméra trouvée (un volume monté avec un dossier DCIM ou un dossier vidéo de caméra)</translation>
    </message>
    <message>
        <source>the card could not be read: %1</source>
        <translation>la carte n’a pas pu être lue : %1</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>avertissement : %1</translation>
    </message>
    <message>
        <source>Name them to import them again.</source>
        <translation>Nommez-les pour les importer à nouveau.</translation>
    </message>
    <message numerus="yes">
        <source>left out %n empty file(s) (nothing to copy; name them to try anyway): %1</source>
        <translation>
            <numerusform>%n fichier vide laissé de côté (rien à copier ; nommez-le pour essayer quand même) : %1</numerusform>
            <numerusform>%n fichiers vides laissés de côté (rien à copier ; nommez-les pour essayer quand même) : %1</numerusform>
        </translation>
    </message>
    <message>
        <source>there is no video named &apos;%1&apos; on the card</source>
        <translation>il n’y a pas de vidéo nommée &apos;%1&apos; sur la carte</translation>
    </message>
    <message>
        <source>%1 is not a camera card (it has no DCIM folder)</source>
        <translation>%1 n’est pas une carte de caméra (elle n’a pas de dossier DCIM)</translation>
    </message>
    <message>
        <source>no camera card found (a mounted volume with a DCIM folder)</source>
        <translation>aucune carte de caméra trouvée (un volume monté avec un dossier DCIM)</translation>
    </message>
    <message>
        <source>imported</source>
        <extracomment>The import state of a video on the card</extracomment>
        <translation>importée</translation>
    </message>
    <message>
        <source>new</source>
        <extracomment>The import state of a video on the card: not imported yet</extracomment>
        <translation>nouvelle</translation>
    </message>
    <message>
        <source>unreadable</source>
        <extracomment>The import state of a video on the card</extracomment>
        <translation>illisible</translation>
    </message>
    <message>
        <source>demo: unexpected &apos;%1&apos;</source>
        <translation>demo : inattendu : &apos;%1&apos;</translation>
    </message>
    <message>
        <source>demo: &apos;%1&apos; is not a number</source>
        <translation>demo : &apos;%1&apos; n’est pas un nombre</translation>
    </message>
    <message>
        <source>demo --jump needs a file, a length and an exit before the opening</source>
        <translation>demo --jump demande un fichier, une durée et une sortie avant l’ouverture</translation>
    </message>
    <message>
        <source>Jump: %1</source>
        <translation>Saut : %1</translation>
    </message>
    <message>
        <source>demo takes one folder</source>
        <translation>demo prend un dossier</translation>
    </message>
    <message>
        <source>Making demo clips: %1 of %2</source>
        <translation>Création des clips de démonstration : %1 sur %2</translation>
    </message>
    <message>
        <source>Demo card: %1</source>
        <translation>Carte de démonstration : %1</translation>
    </message>
    <message>
        <source>Try it:</source>
        <translation>Essayez :</translation>
    </message>
    <message>
        <source>make a demo camera card with synthesised jumps in DIR, or one jump with telemetry</source>
        <translation>crée dans DIR une carte de caméra de démonstration avec des sauts synthétisés, ou un saut avec télémétrie</translation>
    </message>
    <message>
        <source>verified</source>
        <extracomment>Whether an imported copy was read back and compared</extracomment>
        <translation>vérifiée</translation>
    </message>
    <message>
        <source>not verified</source>
        <translation>non vérifiée</translation>
    </message>
    <message>
        <source>the card has no volume UUID, so it has no import history</source>
        <translation>la carte n’a pas d’UUID de volume, elle n’a donc pas d’historique d’import</translation>
    </message>
    <message>
        <source>the import history could not be cleared: %1</source>
        <translation>l’historique d’import n’a pas pu être effacé : %1</translation>
    </message>
    <message numerus="yes">
        <source>Cleared %n record(s) of %1.</source>
        <translation>
            <numerusform>%n entrée de %1 effacée.</numerusform>
            <numerusform>%n entrées de %1 effacées.</numerusform>
        </translation>
    </message>
    <message>
        <source>No files imported from %1.</source>
        <translation>Aucun fichier importé de %1.</translation>
    </message>
    <message>
        <source>lists the files imported from a card, or forgets them</source>
        <translation>liste les fichiers importés d’une carte, ou les oublie</translation>
    </message>
    <message numerus="yes">
        <source>all %n selected video(s) were imported before and are copied again; --new skips what was imported.</source>
        <translation>
            <numerusform>la vidéo sélectionnée a déjà été importée et est copiée à nouveau ; --new ignore ce qui a été importé.</numerusform>
            <numerusform>les %n vidéos sélectionnées ont déjà été importées et sont copiées à nouveau ; --new ignore ce qui a été importé.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n selected video(s) were imported before and are copied again; --new skips what was imported.</source>
        <translation>
            <numerusform>%1 des %n vidéo sélectionnée ont déjà été importées et sont copiées à nouveau ; --new ignore ce qui a été importé.</numerusform>
            <numerusform>%1 des %n vidéos sélectionnées ont déjà été importées et sont copiées à nouveau ; --new ignore ce qui a été importé.</numerusform>
        </translation>
    </message>
    <message>
        <source>No videos to import.</source>
        <translation>Aucune vidéo à importer.</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n video(s) copied, but not recorded as imported</source>
        <translation>
            <numerusform>%1 vidéo sur %n copiée, mais non enregistrée comme importée</numerusform>
            <numerusform>%1 vidéos sur %n copiées, mais non enregistrées comme importées</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n video(s) imported</source>
        <translation>
            <numerusform>%1 vidéo sur %n importée</numerusform>
            <numerusform>%1 vidéos sur %n importées</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (cancelled).</source>
        <translation>%1 (annulé).</translation>
    </message>
    <message>
        <source>%1.</source>
        <translation>%1.</translation>
    </message>
    <message>
        <source>the copies are in place, but the import history could not record them, so they will not show as imported: %1</source>
        <translation>les copies sont en place, mais l’historique d’import n’a pas pu les enregistrer : elles ne seront pas montrées comme importées : %1</translation>
    </message>
    <message>
        <source>copies the selected videos into the destination folder (--no-verify: no read-back; --trim: then trims the copies to their suggestions)</source>
        <translation>copie les vidéos sélectionnées dans le dossier de destination (--no-verify : sans relecture ; --trim : coupe ensuite les copies selon leurs suggestions)</translation>
    </message>
    <message>
        <source>--date needs a day such as 2024-05-01</source>
        <translation>--date demande un jour comme 2024-05-01</translation>
    </message>
    <message>
        <source>jump %1</source>
        <translation>saut %1</translation>
    </message>
    <message>
        <source>No jumps logged on %1.</source>
        <translation>Aucun saut enregistré le %1.</translation>
    </message>
    <message>
        <source>No jumps logged yet.</source>
        <translation>Aucun saut enregistré pour l’instant.</translation>
    </message>
    <message>
        <source>lists the jump log: each imported jump&apos;s number, day, time and cards</source>
        <translation>liste le carnet de sauts : numéro, jour, heure et cartes de chaque saut importé</translation>
    </message>
    <message>
        <source>%1 is chapter %2 of a recording of %3 chapters; name its first chapter, %4, to take the whole recording.</source>
        <translation>%1 est le chapitre %2 d’un enregistrement de %3 chapitres ; nommez son premier chapitre, %4, pour prendre tout l’enregistrement.</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n chapter(s))</source>
        <translation>
            <numerusform>%1 (%n chapitre)</numerusform>
            <numerusform>%1 (%n chapitres)</numerusform>
        </translation>
    </message>
    <message>
        <source>No videos selected.</source>
        <translation>Aucune vidéo sélectionnée.</translation>
    </message>
    <message>
        <source>shows the names the selected videos would be imported under</source>
        <translation>montre les noms sous lesquels les vidéos sélectionnées seraient importées</translation>
    </message>
    <message>
        <source>lists a card&apos;s videos, newest first, with import state</source>
        <translation>liste les vidéos d’une carte, les plus récentes d’abord, avec leur état d’import</translation>
    </message>
    <message>
        <source>Usage: velarix-cli [--json] COMMAND [OPTIONS]</source>
        <translation>Usage : velarix-cli [--json] COMMAND [OPTIONS]</translation>
    </message>
    <message>
        <source>Imports skydiving videos from camera cards and trims them, without a window.</source>
        <translation>Importe les vidéos de saut depuis les cartes de caméra et les coupe, sans fenêtre.</translation>
    </message>
    <message>
        <source>Uses the same settings and import history as the Velarix application.</source>
        <translation>Utilise les mêmes réglages et le même historique d’import que l’application Velarix.</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>Commandes :</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Options :</translation>
    </message>
    <message>
        <source>print machine-readable JSON on stdout</source>
        <translation>écrire du JSON lisible par machine sur stdout</translation>
    </message>
    <message>
        <source>show this help (after a command: that command&apos;s usage)</source>
        <translation>montrer cette aide (après une commande : son usage)</translation>
    </message>
    <message>
        <source>show the version</source>
        <translation>montrer la version</translation>
    </message>
    <message>
        <source>the card: a volume root with DCIM or a camera video folder (default: the first)</source>
        <translation>la carte : un volume avec DCIM ou un dossier vidéo de caméra (par défaut : la première)</translation>
    </message>
    <message>
        <source>import: the destination folder, for this run</source>
        <translation>import : le dossier de destination, pour cette fois</translation>
    </message>
    <message>
        <source>import: do not read each copy back to compare checksums</source>
        <translation>import : ne pas relire chaque copie pour comparer les sommes de contrôle</translation>
    </message>
    <message>
        <source>history: forget the card&apos;s imported files</source>
        <translation>history : oublier les fichiers importés de la carte</translation>
    </message>
    <message>
        <source>analyze: also print the audio level of every half second</source>
        <translation>analyze : écrire aussi le niveau sonore de chaque demi-seconde</translation>
    </message>
    <message>
        <source>trim: keep this range (seconds or minutes:seconds, e.g. 00:40-02:30)</source>
        <translation>trim : garder cette plage (secondes ou minutes:secondes, p. ex. 00:40-02:30)</translation>
    </message>
    <message>
        <source>import: then analyse the copies and trim each to its suggestion</source>
        <translation>import : ensuite analyser les copies et couper chacune selon sa suggestion</translation>
    </message>
    <message>
        <source>trim: analyse and report, change no file</source>
        <translation>trim : analyser et rendre compte, sans modifier de fichier</translation>
    </message>
    <message>
        <source>trim, import --trim: also trim to suggestions marked &quot;check before trimming&quot;</source>
        <translation>trim, import --trim : couper aussi selon les suggestions marquées « à vérifier avant de couper »</translation>
    </message>
    <message>
        <source>trim, import --trim: put each replaced original in the Trash</source>
        <translation>trim, import --trim : mettre chaque original remplacé dans la corbeille</translation>
    </message>
    <message>
        <source>trim, import --trim: delete replaced originals (the saved setting aside)</source>
        <translation>trim, import --trim : supprimer les originaux remplacés (malgré le réglage enregistré)</translation>
    </message>
    <message>
        <source>demo: write one jump with the camera&apos;s telemetry to FILE (shaped as below)</source>
        <translation>demo : écrire un saut avec la télémétrie de la caméra dans FILE (réglé comme ci-dessous)</translation>
    </message>
    <message>
        <source>demo --jump: the clip&apos;s length</source>
        <translation>demo --jump : la durée du clip</translation>
    </message>
    <message>
        <source>demo --jump: when the jumper leaves the aircraft</source>
        <translation>demo --jump : quand le parachutiste quitte l’avion</translation>
    </message>
    <message>
        <source>demo --jump: when the canopy opens</source>
        <translation>demo --jump : quand la voile s’ouvre</translation>
    </message>
    <message>
        <source>demo --jump: wind, silent, muffled, music or none</source>
        <translation>demo --jump : wind, silent, muffled, music ou none</translation>
    </message>
    <message>
        <source>demo --jump: no GPS in the telemetry</source>
        <translation>demo --jump : pas de GPS dans la télémétrie</translation>
    </message>
    <message>
        <source>demo --jump: no accelerometer in the telemetry</source>
        <translation>demo --jump : pas d’accéléromètre dans la télémétrie</translation>
    </message>
    <message>
        <source>(plan, import):</source>
        <translation>(plan, import) :</translation>
    </message>
    <message>
        <source>every video on the card (the default)</source>
        <translation>toutes les vidéos de la carte (par défaut)</translation>
    </message>
    <message>
        <source>only the videos not imported before</source>
        <translation>seulement les vidéos pas encore importées</translation>
    </message>
    <message>
        <source>the named videos</source>
        <translation>les vidéos nommées</translation>
    </message>
    <message>
        <source>(plan, import; for this run, not saved):</source>
        <translation>(plan, import ; pour cette fois, non enregistré) :</translation>
    </message>
    <message>
        <source>the file name pattern, of text and %1; &apos;/&apos; makes folders</source>
        <translation>le modèle de nom de fichier, fait de texte et de %1 ; &apos;/&apos; crée des dossiers</translation>
    </message>
    <message>
        <source>the first jump number</source>
        <translation>le premier numéro de saut</translation>
    </message>
    <message>
        <source>give clips that follow each other closely one jump number</source>
        <translation>donner un seul numéro de saut aux clips qui se suivent de près</translation>
    </message>
    <message>
        <source>give every clip its own jump number</source>
        <translation>donner à chaque clip son propre numéro de saut</translation>
    </message>
    <message>
        <source>the card&apos;s name</source>
        <translation>le nom de la carte</translation>
    </message>
    <message>
        <source>import each recording the camera split into chapters as one file</source>
        <translation>importer en un seul fichier chaque enregistrement que la caméra a découpé en chapitres</translation>
    </message>
    <message>
        <source>copy each chapter as a file of its own</source>
        <translation>copier chaque chapitre comme un fichier à part</translation>
    </message>
    <message>
        <source>import the files beside each video with it (thumbnails, GPS, proxies)</source>
        <translation>importer avec chaque vidéo les fichiers qui l’accompagnent (vignettes, GPS, proxys)</translation>
    </message>
    <message>
        <source>import the videos only (a 360 clip&apos;s second lens still comes along)</source>
        <translation>importer seulement les vidéos (le second objectif d’un clip 360 vient quand même)</translation>
    </message>
    <message>
        <source>with the sidecars, the low-resolution proxies (.LRV, .LRF) too</source>
        <translation>avec les fichiers annexes, les proxys basse résolution (.LRV, .LRF) aussi</translation>
    </message>
    <message>
        <source>leave the proxies on the card</source>
        <translation>laisser les proxys sur la carte</translation>
    </message>
    <message>
        <source>(analyze, trim):</source>
        <translation>(analyze, trim) :</translation>
    </message>
    <message>
        <source>  A recording the camera split into chapters (GX010042.MP4, GX020042.MP4, ...) is one video:
  name its first chapter and the chapters beside it come with it. A later chapter named
  without its first is refused; trimming writes the cut recording in the first chapter&apos;s
  place and then removes the other chapters (or puts them in the Trash).</source>
        <translation>  Un enregistrement que la caméra a découpé en chapitres (GX010042.MP4, GX020042.MP4, ...) est une
  seule vidéo : nommez son premier chapitre et les chapitres voisins viennent avec. Un chapitre
  suivant nommé sans le premier est refusé ; la coupe écrit l’enregistrement coupé à la place du
  premier chapitre puis retire les autres chapitres (ou les met dans la corbeille).</translation>
    </message>
    <message>
        <source>Exit status:</source>
        <translation>Code de sortie :</translation>
    </message>
    <message>
        <source>  0 all done, 1 some files failed, 2 bad usage or nothing could be done.</source>
        <translation>  0 tout est fait, 1 certains fichiers ont échoué, 2 mauvais usage ou rien n’a pu être fait.</translation>
    </message>
    <message>
        <source>Environment:</source>
        <translation>Environnement :</translation>
    </message>
    <message>
        <source>where the settings and the import history are kept</source>
        <translation>où sont gardés les réglages et l’historique d’import</translation>
    </message>
    <message>
        <source>treat every folder directly inside this folder as a mounted volume</source>
        <translation>traiter chaque dossier directement dans ce dossier comme un volume monté</translation>
    </message>
    <message>
        <source>Usage: velarix-cli %1</source>
        <translation>Usage : velarix-cli %1</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>commande inconnue &apos;%1&apos;</translation>
    </message>
    <message>
        <source>analyses videos, then trims them in place to the suggested range (or the one given)</source>
        <translation>analyse les vidéos, puis les coupe sur place à la plage suggérée (ou à celle donnée)</translation>
    </message>
</context>
<context>
    <name>velarix::Appcast</name>
    <message>
        <source>The update feed could not be read: %1 (line %2).</source>
        <translation>Le flux de mises à jour est illisible : %1 (ligne %2).</translation>
    </message>
    <message>
        <source>The update feed is not an RSS feed.</source>
        <translation>Le flux de mises à jour n’est pas un flux RSS.</translation>
    </message>
</context>
<context>
    <name>velarix::Autostart</name>
    <message>
        <source>The login item %1 could not be removed.</source>
        <translation>L’élément de démarrage %1 n’a pas pu être supprimé.</translation>
    </message>
    <message>
        <source>The login item %1 could not be written: %2</source>
        <translation>L’élément de démarrage %1 n’a pas pu être écrit : %2</translation>
    </message>
</context>
<context>
    <name>velarix::CardListDelegate</name>
    <message>
        <source>%1 free</source>
        <translation>%1 libres</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n vidéo</numerusform>
            <numerusform>%n vidéos</numerusform>
        </translation>
    </message>
    <message>
        <source>Eject %1</source>
        <translation>Éjecter %1</translation>
    </message>
</context>
<context>
    <name>velarix::CardListView</name>
    <message>
        <source>Another card can be chosen when the import has finished.</source>
        <translation>Une autre carte pourra être choisie une fois l’import terminé.</translation>
    </message>
    <message>
        <source>The arrow keys show another card. Ctrl+E or the context menu ejects the card shown.</source>
        <translation>Les flèches affichent une autre carte. Ctrl+E ou le menu contextuel éjecte la carte affichée.</translation>
    </message>
    <message>
        <source>Eject %1</source>
        <translation>Éjecter %1</translation>
    </message>
    <message>
        <source>Camera cards</source>
        <translation>Cartes de caméra</translation>
    </message>
</context>
<context>
    <name>velarix::CompanionChecks</name>
    <message>
        <source>The proxy %1 is larger than its video %2, which a proxy of it would not be: it may belong to another clip. Both are imported as they are.</source>
        <translation>Le fichier proxy %1 est plus grand que sa vidéo %2, ce qu’un proxy de celle-ci ne serait pas : il appartient peut-être à un autre clip. Les deux sont importés tels quels.</translation>
    </message>
    <message>
        <source>The proxy %1 runs %2 s, but its video %3 runs %4 s: it may belong to another clip, or be cut short. Both are imported as they are.</source>
        <translation>Le fichier proxy %1 dure %2 s, mais sa vidéo %3 dure %4 s : il appartient peut-être à un autre clip, ou il est tronqué. Les deux sont importés tels quels.</translation>
    </message>
    <message>
        <source>The second lens %1 runs %2 s, but %3 runs %4 s: the lenses are out of step, and the camera&apos;s stitching software may refuse them. Both are imported as they are.</source>
        <translation>Le second objectif %1 dure %2 s, mais %3 dure %4 s : les objectifs sont décalés, et le logiciel d’assemblage de la caméra risque de les refuser. Les deux sont importés tels quels.</translation>
    </message>
    <message>
        <source>%1 says the recording began at %2, which is far from the time of %3 (%4): it may belong to another clip. The file&apos;s own time is shown; both are imported as they are.</source>
        <translation>%1 indique un début d’enregistrement à %2, loin de l’heure de %3 (%4) : il appartient peut-être à un autre clip. L’heure du fichier lui-même est affichée ; les deux sont importés tels quels.</translation>
    </message>
</context>
<context>
    <name>velarix::DisplayFormats</name>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation>
            <numerusform>%n octet</numerusform>
            <numerusform>%n octets</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 KB</source>
        <extracomment>Units of 1000 bytes (&quot;Ko&quot;, &quot;Mo&quot; in French)</extracomment>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 Go</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 To</translation>
    </message>
    <message>
        <source>%1 PB</source>
        <translation>%1 Po</translation>
    </message>
    <message>
        <source>%1 hr</source>
        <extracomment>Abbreviated hours of a duration</extracomment>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1 min</source>
        <extracomment>Abbreviated minutes of a duration</extracomment>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 sec</source>
        <extracomment>Abbreviated seconds of a duration</extracomment>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>now</source>
        <extracomment>A moment relative to now</extracomment>
        <translation>maintenant</translation>
    </message>
    <message numerus="yes">
        <source>%n year(s) ago</source>
        <translation>
            <numerusform>il y a %n an</numerusform>
            <numerusform>il y a %n ans</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n year(s)</source>
        <translation>
            <numerusform>dans %n an</numerusform>
            <numerusform>dans %n ans</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n month(s) ago</source>
        <translation>
            <numerusform>il y a %n mois</numerusform>
            <numerusform>il y a %n mois</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n month(s)</source>
        <translation>
            <numerusform>dans %n mois</numerusform>
            <numerusform>dans %n mois</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n week(s) ago</source>
        <translation>
            <numerusform>il y a %n semaine</numerusform>
            <numerusform>il y a %n semaines</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n week(s)</source>
        <translation>
            <numerusform>dans %n semaine</numerusform>
            <numerusform>dans %n semaines</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n day(s) ago</source>
        <translation>
            <numerusform>il y a %n jour</numerusform>
            <numerusform>il y a %n jours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n day(s)</source>
        <translation>
            <numerusform>dans %n jour</numerusform>
            <numerusform>dans %n jours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour(s) ago</source>
        <translation>
            <numerusform>il y a %n heure</numerusform>
            <numerusform>il y a %n heures</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n hour(s)</source>
        <translation>
            <numerusform>dans %n heure</numerusform>
            <numerusform>dans %n heures</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s) ago</source>
        <translation>
            <numerusform>il y a %n minute</numerusform>
            <numerusform>il y a %n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n minute(s)</source>
        <translation>
            <numerusform>dans %n minute</numerusform>
            <numerusform>dans %n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s) ago</source>
        <translation>
            <numerusform>il y a %n seconde</numerusform>
            <numerusform>il y a %n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n second(s)</source>
        <translation>
            <numerusform>dans %n seconde</numerusform>
            <numerusform>dans %n secondes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::DroppedVideos</name>
    <message>
        <source>No MP4 or 360 videos were found in %1.</source>
        <translation>Aucune vidéo MP4 ou 360 trouvée dans %1.</translation>
    </message>
    <message numerus="yes">
        <source> and %n more</source>
        <translation>
            <numerusform> et %n autre</numerusform>
            <numerusform> et %n autres</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Skipped %n file(s) that are not MP4 or 360 videos: %1.</source>
        <translation>
            <numerusform>%n fichier ignoré, ce n’est pas une vidéo MP4 ou 360 : %1.</numerusform>
            <numerusform>%n fichiers ignorés, ce ne sont pas des vidéos MP4 ou 360 : %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::ImportNotifier</name>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n vidéo</numerusform>
            <numerusform>%n vidéos</numerusform>
        </translation>
    </message>
    <message>
        <source>Importing %1 — %2%</source>
        <translation>Import de %1 — %2 %</translation>
    </message>
    <message>
        <source>Import finished</source>
        <translation>Import terminé</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) copied to %1</source>
        <translation>
            <numerusform>%n vidéo copiée dans %1</numerusform>
            <numerusform>%n vidéos copiées dans %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Import cancelled</source>
        <translation>Import annulé</translation>
    </message>
    <message>
        <source>Import failed</source>
        <translation>Échec de l’import</translation>
    </message>
</context>
<context>
    <name>velarix::ImportPattern</name>
    <message>
        <source>{date}: Date of the file YYYY-MM-DD</source>
        <translation>{date} : date du fichier AAAA-MM-JJ</translation>
    </message>
    <message>
        <source>{today}: Day of import YYYY-MM-DD</source>
        <translation>{today} : jour de l’import AAAA-MM-JJ</translation>
    </message>
    <message>
        <source>{name}: Name of the SD card</source>
        <translation>{name} : nom de la carte SD</translation>
    </message>
    <message>
        <source>{jump}: Jump number</source>
        <translation>{jump} : numéro de saut</translation>
    </message>
    <message>
        <source>{filename}: Name of the file</source>
        <translation>{filename} : nom du fichier</translation>
    </message>
    <message>
        <source>/: automatically creates subfolders</source>
        <translation>/ : crée des sous-dossiers</translation>
    </message>
</context>
<context>
    <name>velarix::ImportProgress</name>
    <message>
        <source>Verifying</source>
        <translation>Vérification</translation>
    </message>
    <message>
        <source>Copying</source>
        <translation>Copie</translation>
    </message>
    <message>
        <source>Verifying %1</source>
        <translation>Vérification de %1</translation>
    </message>
    <message>
        <source>Copying %1</source>
        <translation>Copie de %1</translation>
    </message>
    <message>
        <source>%1 (%2 of %3)</source>
        <translation>%1 (%2 sur %3)</translation>
    </message>
    <message>
        <source>%1, verifying %2 of %3</source>
        <translation>%1, vérification %2 sur %3</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Annulation…</translation>
    </message>
    <message>
        <source>%1 — %2 of %3</source>
        <translation>%1 — %2 sur %3</translation>
    </message>
    <message>
        <source>%1, %2/s</source>
        <extracomment>Copy speed</extracomment>
        <translation>%1, %2/s</translation>
    </message>
    <message>
        <source>%1, about %2 left</source>
        <translation>%1, environ %2 restantes</translation>
    </message>
</context>
<context>
    <name>velarix::ImportRun</name>
    <message>
        <source>The import was cancelled before a video was copied. Nothing was added to %1.</source>
        <translation>L’import a été annulé avant la copie d’une vidéo. Rien n’a été ajouté à %1.</translation>
    </message>
    <message numerus="yes">
        <source>The import was cancelled. %n video(s) copied and verified before that stay in %1 and count as imported; </source>
        <translation>
            <numerusform>L’import a été annulé. La vidéo déjà copiée et vérifiée reste dans %1 et compte comme importée ; </numerusform>
            <numerusform>L’import a été annulé. Les %n vidéos déjà copiées et vérifiées restent dans %1 et comptent comme importées ; </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the other %n were not copied.</source>
        <translation>
            <numerusform>l’autre n’a pas été copiée.</numerusform>
            <numerusform>les %n autres n’ont pas été copiées.</numerusform>
        </translation>
    </message>
    <message>
        <source>The destination folder %1 does not exist. Connect its drive or choose another folder.</source>
        <translation>Le dossier de destination %1 n’existe pas. Branchez son disque ou choisissez un autre dossier.</translation>
    </message>
    <message>
        <source>The folder %1 could not be created: %2</source>
        <translation>Le dossier %1 n’a pas pu être créé : %2</translation>
    </message>
</context>
<context>
    <name>velarix::JumpLogMatch</name>
    <message>
        <source>jump %1, as on %2</source>
        <extracomment>A video&apos;s jump number taken from the jump log, and the card that jump was first imported from</extracomment>
        <translation>saut %1, comme sur %2</translation>
    </message>
</context>
<context>
    <name>velarix::JumpTableView</name>
    <message>
        <source>Select All New</source>
        <translation>Tout sélectionner (nouvelles)</translation>
    </message>
    <message>
        <source>Select every video not imported yet [Ctrl+Shift+A]</source>
        <translation>Sélectionner toutes les vidéos pas encore importées [Ctrl+Maj+A]</translation>
    </message>
    <message>
        <source>Videos</source>
        <translation>Vidéos</translation>
    </message>
    <message>
        <source>Space plays the selected video.</source>
        <translation>Espace lit la vidéo sélectionnée.</translation>
    </message>
</context>
<context>
    <name>velarix::LoadingPanel</name>
    <message>
        <source>Loading Videos</source>
        <translation>Chargement des vidéos</translation>
    </message>
    <message>
        <source>Scanning the SD card and preparing video details.</source>
        <translation>Lecture de la carte SD et préparation des détails des vidéos.</translation>
    </message>
    <message>
        <source>Scanning progress</source>
        <translation>Progression de l’analyse de la carte</translation>
    </message>
</context>
<context>
    <name>velarix::PatternTextEdit</name>
    <message>
        <source>%1 is not a placeholder and would stay in the names as typed.
Placeholders: %2 and %3; “/” makes a folder.</source>
        <translation>%1 n’est pas un champ et resterait tel quel dans les noms.
Champs : %2 et %3 ; « / » crée un dossier.</translation>
    </message>
</context>
<context>
    <name>velarix::PreviewWindow</name>
    <message numerus="yes">
        <source>%1 (%n chapter(s))</source>
        <translation>
            <numerusform>%1 (%n chapitre)</numerusform>
            <numerusform>%1 (%n chapitres)</numerusform>
        </translation>
    </message>
    <message>
        <source>Drag to move through the video (Left and Right step 5 seconds)</source>
        <translation>Glisser pour parcourir la vidéo (Gauche et Droite : pas de 5 secondes)</translation>
    </message>
    <message>
        <source>Pause [Space]</source>
        <translation>Pause [Espace]</translation>
    </message>
    <message>
        <source>Play [Space]</source>
        <translation>Lecture [Espace]</translation>
    </message>
</context>
<context>
    <name>velarix::RecordingImport</name>
    <message>
        <source>The joined video %1 does not match its chapters (the bytes read back differ from those written).</source>
        <translation>La vidéo assemblée %1 ne correspond pas à ses chapitres (les octets relus diffèrent de ceux écrits).</translation>
    </message>
</context>
<context>
    <name>velarix::RecordingStatus</name>
    <message>
        <source>Imported. The copy was read back and verified.</source>
        <translation>Importée. La copie a été relue et vérifiée.</translation>
    </message>
    <message>
        <source>Imported without verification: the copy was not read back and compared. Import it again to verify it.</source>
        <translation>Importée sans vérification : la copie n’a pas été relue ni comparée. Importez-la à nouveau pour la vérifier.</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) imported without verification are not selected. Select them to import and verify them again.</source>
        <translation>
            <numerusform>%n vidéo importée sans vérification n’est pas sélectionnée. Sélectionnez-la pour l’importer et la vérifier à nouveau.</numerusform>
            <numerusform>%n vidéos importées sans vérification ne sont pas sélectionnées. Sélectionnez-les pour les importer et les vérifier à nouveau.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::SpokenText</name>
    <message numerus="yes">
        <source>%n hour(s)</source>
        <translation>
            <numerusform>%n heure</numerusform>
            <numerusform>%n heures</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s)</source>
        <translation>
            <numerusform>%n seconde</numerusform>
            <numerusform>%n secondes</numerusform>
        </translation>
    </message>
    <message>
        <source>today %1</source>
        <translation>aujourd’hui %1</translation>
    </message>
    <message>
        <source>yesterday %1</source>
        <translation>hier %1</translation>
    </message>
</context>
<context>
    <name>velarix::TelemetryDetection</name>
    <message>
        <source>the GPS has no fix</source>
        <translation>le GPS n’a pas de position</translation>
    </message>
    <message>
        <source>the GPS altitudes are not usable</source>
        <translation>les altitudes GPS ne sont pas utilisables</translation>
    </message>
    <message>
        <source>the accelerometer shows no opening shock where the GPS altitude shows the canopy</source>
        <translation>l’accéléromètre ne montre aucun choc d’ouverture là où l’altitude GPS montre la voile</translation>
    </message>
    <message>
        <source>the GPS altitude shows no freefall</source>
        <translation>l’altitude GPS ne montre pas de chute libre</translation>
    </message>
    <message>
        <source>the GPS altitude shows no freefall where the accelerometer shows a jump</source>
        <translation>l’altitude GPS ne montre pas de chute libre là où l’accéléromètre montre un saut</translation>
    </message>
    <message>
        <source>the accelerometer shows more than one shock that could be the opening</source>
        <translation>l’accéléromètre montre plus d’un choc qui pourrait être l’ouverture</translation>
    </message>
    <message>
        <source>the accelerometer shows no exit and opening</source>
        <translation>l’accéléromètre ne montre ni sortie ni ouverture</translation>
    </message>
    <message>
        <source>%1, and %2</source>
        <translation>%1, et %2</translation>
    </message>
    <message>
        <source>the track holds no accelerometer or GPS</source>
        <translation>la piste ne contient ni accéléromètre ni GPS</translation>
    </message>
</context>
<context>
    <name>velarix::TelemetryKinds</name>
    <message>
        <source>Telemetry: %1, read.</source>
        <translation>Télémétrie : %1, lue.</translation>
    </message>
    <message>
        <source>Telemetry: %1, which Velarix cannot use yet.</source>
        <translation>Télémétrie : %1, que Velarix ne sait pas encore utiliser.</translation>
    </message>
    <message>
        <source>Also carried: %1, which Velarix cannot use yet.</source>
        <translation>Contient aussi : %1, que Velarix ne sait pas encore utiliser.</translation>
    </message>
</context>
<context>
    <name>velarix::TrimDecision</name>
    <message>
        <source>the camera&apos;s GPS altitude</source>
        <translation>l’altitude GPS de la caméra</translation>
    </message>
    <message>
        <source>the camera&apos;s accelerometer</source>
        <translation>l’accéléromètre de la caméra</translation>
    </message>
    <message>
        <source>the picture</source>
        <translation>l’image</translation>
    </message>
    <message>
        <source>the sound</source>
        <translation>le son</translation>
    </message>
    <message>
        <source>%1 put the exit at %2.</source>
        <translation>%1 plaçait la sortie à %2.</translation>
    </message>
    <message>
        <source>%1 put the opening at %2.</source>
        <translation>%1 plaçait l’ouverture à %2.</translation>
    </message>
    <message>
        <source>the range keeps only %1 s of freefall</source>
        <translation>la plage ne garde que %1 s de chute libre</translation>
    </message>
    <message>
        <source>%1 puts the opening at %2, after the kept range</source>
        <translation>%1 place l’ouverture à %2, après la plage gardée</translation>
    </message>
    <message>
        <source>%1 and %2 disagree by %3 s about the exit</source>
        <translation>%1 et %2 divergent de %3 s sur la sortie</translation>
    </message>
    <message>
        <source>%1 and %2 disagree by %3 s about the opening</source>
        <translation>%1 et %2 divergent de %3 s sur l’ouverture</translation>
    </message>
    <message>
        <source>Exit at %1 from %2.</source>
        <translation>Sortie à %1 d’après %2.</translation>
    </message>
    <message>
        <source>Canopy opening at %1 from %2.</source>
        <translation>Ouverture de la voile à %1 d’après %2.</translation>
    </message>
    <message>
        <source>No usable telemetry: %1.</source>
        <translation>Pas de télémétrie utilisable : %1.</translation>
    </message>
</context>
<context>
    <name>velarix::TrimDropZone</name>
    <message>
        <source>Drop MP4, MOV or 360 videos here</source>
        <translation>Déposez ici des vidéos MP4, MOV ou 360</translation>
    </message>
    <message>
        <source>Analyze likely freefall ranges and replace trimmed originals in place.</source>
        <translation>Repère la chute libre probable et remplace les originaux par leur version coupée.</translation>
    </message>
    <message>
        <source>Choose Videos…</source>
        <translation>Choisir des vidéos…</translation>
    </message>
    <message>
        <source>Choose videos to trim (%1)</source>
        <translation>Choisir les vidéos à couper (%1)</translation>
    </message>
</context>
<context>
    <name>velarix::TrimFooterBar</name>
    <message>
        <source>Analyze Again</source>
        <translation>Réanalyser</translation>
    </message>
    <message>
        <source>Keep originals in the Trash</source>
        <translation>Garder les originaux dans la corbeille</translation>
    </message>
    <message>
        <source>Each replaced original goes to the Trash of its drive, where the file manager can restore it, instead of being deleted. The space is freed only when the Trash is emptied.</source>
        <translation>Chaque original remplacé va dans la corbeille de son disque, où le gestionnaire de fichiers peut le restaurer, au lieu d’être supprimé. L’espace n’est libéré qu’une fois la corbeille vidée.</translation>
    </message>
    <message>
        <source>Trim Suggested Videos</source>
        <translation>Couper les vidéos proposées</translation>
    </message>
    <message>
        <source>%1 of %2 processed, %3 left</source>
        <translation>%1 sur %2 traitées, %3 restantes</translation>
    </message>
    <message>
        <source>Analyzing audio… </source>
        <translation>Analyse du son… </translation>
    </message>
    <message>
        <source>Trimming videos… </source>
        <translation>Découpe des vidéos… </translation>
    </message>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n vidéo</numerusform>
            <numerusform>%n vidéos</numerusform>
        </translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
</context>
<context>
    <name>velarix::TrimHeaderBar</name>
    <message>
        <source>Trim freefall ranges from skydiving videos</source>
        <translation>Couper les vidéos de saut sur la chute libre</translation>
    </message>
    <message>
        <source>The first pass uses audio and lightweight frame analysis to keep the main skydive through deployment.</source>
        <translation>Une première passe analyse le son et l’image pour garder le saut jusqu’à l’ouverture.</translation>
    </message>
    <message>
        <source>Estimated savings</source>
        <translation>Gain estimé</translation>
    </message>
    <message>
        <source>Add Videos…</source>
        <translation>Ajouter des vidéos…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Vider</translation>
    </message>
    <message>
        <source>Choose videos to trim (%1)</source>
        <translation>Choisir les vidéos à couper (%1)</translation>
    </message>
</context>
<context>
    <name>velarix::TrimProgressScreen</name>
    <message>
        <source>Trimming videos…</source>
        <translation>Découpe des vidéos…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Trimming %1</source>
        <translation>Découpe de %1</translation>
    </message>
    <message>
        <source>Trimming progress</source>
        <translation>Progression de la coupe</translation>
    </message>
</context>
<context>
    <name>velarix::TrimRangeAccessible</name>
    <message>
        <source>Start of the kept range, %1</source>
        <translation>Début de la plage conservée, %1</translation>
    </message>
    <message>
        <source>End of the kept range, %1</source>
        <translation>Fin de la plage conservée, %1</translation>
    </message>
    <message>
        <source>Left and Right move it by a second, with Shift by ten seconds; Home and End move it as far as it goes. Tab goes to the other handle.</source>
        <translation>Gauche et Droite le déplacent d’une seconde, avec Maj de dix secondes ; Début et Fin le déplacent jusqu’au bout. Tab passe à l’autre poignée.</translation>
    </message>
    <message>
        <source>Trim range</source>
        <translation>Plage de coupe</translation>
    </message>
    <message>
        <source>Keeps %1 to %2 of %3</source>
        <translation>Conserve de %1 à %2 sur %3</translation>
    </message>
</context>
<context>
    <name>velarix::TrimRangeSelector</name>
    <message>
        <source>Exit</source>
        <translation>Sortie</translation>
    </message>
    <message>
        <source>Canopy</source>
        <translation>Voile</translation>
    </message>
</context>
<context>
    <name>velarix::TrimSummaryScreen</name>
    <message>
        <source>Add Videos…</source>
        <translation>Ajouter des vidéos…</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>%1 gagnés</translation>
    </message>
    <message>
        <source>%1 will be freed when the Trash is emptied</source>
        <translation>%1 seront libérés une fois la corbeille vidée</translation>
    </message>
    <message>
        <source>Saved %1; %2 more will be freed when the Trash is emptied</source>
        <translation>%1 gagnés ; %2 de plus une fois la corbeille vidée</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) could not be trimmed and are unchanged; the reasons are below.</source>
        <translation>
            <numerusform>%n vidéo n’a pas pu être coupée et reste inchangée ; la raison est ci-dessous.</numerusform>
            <numerusform>%n vidéos n’ont pas pu être coupées et restent inchangées ; les raisons sont ci-dessous.</numerusform>
        </translation>
    </message>
    <message>
        <source>Trimmed; about %1 will be freed when the Trash is emptied</source>
        <translation>Coupée ; environ %1 libérés une fois la corbeille vidée</translation>
    </message>
    <message>
        <source>Trimmed, saved about %1</source>
        <translation>Coupée, environ %1 gagnés</translation>
    </message>
    <message>
        <source>Kept</source>
        <translation>Gardée</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Échec : %1</translation>
    </message>
    <message>
        <source>What happened to each file</source>
        <translation>Ce qui est arrivé à chaque fichier</translation>
    </message>
</context>
<context>
    <name>velarix::UpdateDialog</name>
    <message>
        <source>Software Update</source>
        <translation>Mise à jour</translation>
    </message>
    <message>
        <source>You’re up to date!</source>
        <translation>Vous êtes à jour !</translation>
    </message>
    <message>
        <source>Velarix %1 is currently the newest version available.</source>
        <translation>Velarix %1 est la version la plus récente.</translation>
    </message>
    <message>
        <source>A new version of Velarix is available!</source>
        <translation>Une nouvelle version de Velarix est disponible !</translation>
    </message>
    <message>
        <source>Velarix %1 is now available — you have %2.</source>
        <translation>Velarix %1 est disponible — vous avez la %2.</translation>
    </message>
    <message>
        <source>Download size: %1.</source>
        <translation>Taille du téléchargement : %1.</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;a href=&quot;%1&quot;&gt;Read the release notes&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;a href=&quot;%1&quot;&gt;Lire les notes de version&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>No release notes were published with this version.</source>
        <translation>Aucune note de version n’a été publiée pour cette version.</translation>
    </message>
    <message>
        <source>Release notes:</source>
        <translation>Notes de version :</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Télécharger</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Me le rappeler plus tard</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Erreur de mise à jour</translation>
    </message>
</context>
<context>
    <name>velarix::Updater</name>
    <message>
        <source>This build of Velarix has no update feed configured, so it cannot look for updates. Set &quot;%1&quot; in the settings file to the address of an appcast feed.</source>
        <translation>Cette version de Velarix n’a pas de flux de mises à jour et ne peut donc pas en chercher. Renseignez « %1 » dans le fichier de réglages avec l’adresse d’un flux appcast.</translation>
    </message>
    <message>
        <source>Velarix could not reach the update server: %1</source>
        <translation>Velarix n’a pas pu joindre le serveur de mises à jour : %1</translation>
    </message>
</context>
<context>
    <name>velarix::VelarixApp</name>
    <message>
        <source>Originals of an interrupted trim were kept</source>
        <translation>Les originaux d’une découpe interrompue ont été gardés</translation>
    </message>
    <message>
        <source>Velarix keeps watching for camera cards</source>
        <translation>Velarix continue de surveiller les cartes</translation>
    </message>
    <message>
        <source>It opens when you insert one. To quit, open Velarix and choose File › Quit (Ctrl+Q), or turn off “Keep Velarix running in the background” in Settings.</source>
        <translation>Il s’ouvre quand vous en insérez une. Pour quitter, ouvrez Velarix et choisissez Fichier › Quitter (Ctrl+Q), ou désactivez « Garder Velarix en arrière-plan » dans les Réglages.</translation>
    </message>
    <message>
        <source>An import is running.</source>
        <translation>Un import est en cours.</translation>
    </message>
    <message>
        <source>Velarix can finish the import and then quit, or stop it now: the videos copied and verified so far stay imported, the others are not imported.</source>
        <translation>Velarix peut terminer l’import puis quitter, ou l’arrêter maintenant : les vidéos déjà copiées et vérifiées restent importées, les autres ne le sont pas.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>About Velarix</source>
        <translation>À propos de Velarix</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Velarix %1&lt;/h3&gt;&lt;p&gt;Imports skydiving videos from camera cards and trims them to the jump.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Velarix %1&lt;/h3&gt;&lt;p&gt;Importe les vidéos de saut depuis les cartes des caméras et les coupe sur le saut.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Outils</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Velarix can move it aside (renamed with today&apos;s date, not deleted) and start a new, empty import history. Videos will then not show as imported until they are imported again.</source>
        <translation>Velarix peut le mettre de côté (renommé avec la date du jour, pas supprimé) et commencer un nouvel historique vide. Les vidéos n’apparaîtront alors comme importées qu’après un nouvel import.</translation>
    </message>
    <message>
        <source>&amp;Finish Import, Then Quit</source>
        <translation>&amp;Terminer l’import, puis quitter</translation>
    </message>
    <message>
        <source>&amp;Stop Import and Quit</source>
        <translation>&amp;Arrêter l’import et quitter</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>&amp;Ouvrir…</translation>
    </message>
    <message>
        <source>&amp;Settings…</source>
        <translation>&amp;Réglages…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Video &amp;Trimming</source>
        <translation>&amp;Découpe vidéo</translation>
    </message>
    <message>
        <source>&amp;Check for Updates…</source>
        <translation>&amp;Rechercher des mises à jour…</translation>
    </message>
    <message>
        <source>&amp;About Velarix</source>
        <translation>&amp;À propos de Velarix</translation>
    </message>
    <message>
        <source>Could not create ModelContainer: </source>
        <translation>Impossible d’ouvrir l’historique des imports : </translation>
    </message>
    <message>
        <source>&amp;Move Aside and Start New History</source>
        <translation>&amp;Mettre de côté et recommencer</translation>
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
        <translation>Enregistrer dans</translation>
    </message>
    <message>
        <source>C&amp;hange…</source>
        <translation>&amp;Modifier…</translation>
    </message>
    <message>
        <source>Choose destination folder</source>
        <translation>Choisir le dossier de destination</translation>
    </message>
    <message>
        <source>Insert &amp;Placeholder</source>
        <translation>Insérer un &amp;champ</translation>
    </message>
    <message>
        <source>Filename pattern</source>
        <translation>Modèle de nom</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Espace</translation>
    </message>
    <message>
        <source>Open imported folder</source>
        <translation>Ouvrir le dossier importé</translation>
    </message>
    <message>
        <source>Reveal the destination folder after a successful import.</source>
        <translation>Afficher le dossier de destination après un import réussi.</translation>
    </message>
    <message>
        <source>Trim after import</source>
        <translation>Couper après l’import</translation>
    </message>
    <message>
        <source>Open the imported copies in Video Trimming and analyse them, ready to review and trim.</source>
        <translation>Ouvrir les copies importées dans Découpe vidéo et les analyser, prêtes à vérifier et couper.</translation>
    </message>
    <message>
        <source>Jump Number</source>
        <translation>Numéro de saut</translation>
    </message>
    <message>
        <source>Auto increment jump number</source>
        <translation>Incrémenter le numéro de saut</translation>
    </message>
    <message>
        <source>Advance the jump number after each completed import.</source>
        <translation>Avancer le numéro de saut après chaque import terminé.</translation>
    </message>
    <message>
        <source>Auto group nearby clips</source>
        <translation>Grouper les clips proches</translation>
    </message>
    <message>
        <source>Keep nearby recordings under the same jump number.</source>
        <translation>Garder les enregistrements proches sous le même numéro de saut.</translation>
    </message>
    <message>
        <source>Join chapters</source>
        <translation>Joindre les chapitres</translation>
    </message>
    <message>
        <source>Import a recording the camera split into chapters as one video.</source>
        <translation>Importer en une seule vidéo un enregistrement découpé en chapitres par la caméra.</translation>
    </message>
    <message>
        <source>Import sidecar files</source>
        <translation>Importer les fichiers annexes</translation>
    </message>
    <message>
        <source>Copy the files a camera writes beside a video (thumbnails, GPS, clip data) with it.</source>
        <translation>Copier avec la vidéo les fichiers que la caméra écrit à côté (vignettes, GPS, données du clip).</translation>
    </message>
    <message>
        <source>Import proxy files</source>
        <translation>Importer les fichiers proxy</translation>
    </message>
    <message>
        <source>With the sidecar files, copy the low-resolution previews (LRV, LRF) too.</source>
        <translation>Avec les fichiers annexes, copier aussi les aperçus basse résolution (LRV, LRF).</translation>
    </message>
    <message>
        <source>SD Card</source>
        <translation>Carte SD</translation>
    </message>
    <message>
        <source>SD card actions</source>
        <translation>Actions de la carte SD</translation>
    </message>
    <message>
        <source>Clear Import History</source>
        <translation>Effacer l’historique des imports</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>SD Card Name</source>
        <translation>Nom de la carte</translation>
    </message>
    <message>
        <source>Files to import</source>
        <translation>Fichiers à importer</translation>
    </message>
    <message>
        <source>Cancel import</source>
        <translation>Annuler l’import</translation>
    </message>
    <message>
        <source>this card</source>
        <translation>cette carte</translation>
    </message>
    <message>
        <source>%1 has no import history.</source>
        <translation>%1 n’a pas d’historique d’import.</translation>
    </message>
    <message>
        <source>Clear the import history of %1?</source>
        <translation>Effacer l’historique des imports de %1 ?</translation>
    </message>
    <message numerus="yes">
        <source>Clear the import history of %1? This removes %n record(s).</source>
        <translation>
            <numerusform>Effacer l’historique des imports de %1 ? %n entrée sera supprimée.</numerusform>
            <numerusform>Effacer l’historique des imports de %1 ? %n entrées seront supprimées.</numerusform>
        </translation>
    </message>
    <message>
        <source>Its videos will show as not imported and can be imported again. Copies already made stay where they are.</source>
        <translation>Ses vidéos apparaîtront comme non importées et pourront être importées à nouveau. Les copies déjà faites restent en place.</translation>
    </message>
    <message>
        <source>C&amp;lear History</source>
        <translation>&amp;Effacer l’historique</translation>
    </message>
    <message>
        <source>Free space unknown</source>
        <translation>Espace libre inconnu</translation>
    </message>
    <message>
        <source>%1 available</source>
        <translation>%1 disponibles</translation>
    </message>
    <message>
        <source>%1 needed, %2 available</source>
        <translation>%1 nécessaires, %2 disponibles</translation>
    </message>
    <message>
        <source>%1 — not enough space</source>
        <translation>%1 — espace insuffisant</translation>
    </message>
    <message>
        <source>Import progress</source>
        <translation>Progression de l’importation</translation>
    </message>
</context>
<context>
    <name>velarix::VelarixModel</name>
    <message>
        <source>Scanning SD card…</source>
        <translation>Lecture de la carte SD…</translation>
    </message>
    <message numerus="yes">
        <source>Scanning SD card… %n video(s) found</source>
        <translation>
            <numerusform>Lecture de la carte SD… %n vidéo trouvée</numerusform>
            <numerusform>Lecture de la carte SD… %n vidéos trouvées</numerusform>
        </translation>
    </message>
    <message>
        <source>Loading video details… %1 of %2</source>
        <translation>Chargement des détails… %1 sur %2</translation>
    </message>
    <message>
        <source>Velarix could not read the identity of the card %1 (%2). Its import history is kept under the card&apos;s name and size instead, so videos imported before may not be marked as imported.</source>
        <translation>Velarix n’a pas pu lire l’identité de la carte %1 (%2). Son historique d’importation est conservé sous le nom et la taille de la carte, de sorte que les vidéos importées auparavant peuvent ne pas être marquées comme importées.</translation>
    </message>
    <message>
        <source>There is no card whose history could be cleared.</source>
        <translation>Il n’y a aucune carte dont l’historique pourrait être effacé.</translation>
    </message>
    <message>
        <source>The import history could not be cleared. %1</source>
        <translation>L’historique d’importation n’a pas pu être effacé. %1</translation>
    </message>
    <message>
        <source>%1 is not a placeholder. Use %2, or remove the braces.</source>
        <translation>%1 n’est pas un paramètre fictif. Utilisez %2, ou retirez les accolades.</translation>
    </message>
    <message>
        <source>The filename pattern is empty. Enter a pattern such as %1 to import.</source>
        <translation>Le modèle de nom de fichier est vide. Saisissez un modèle tel que %1 pour importer.</translation>
    </message>
    <message>
        <source>An import is already running.</source>
        <translation>Une importation est déjà en cours.</translation>
    </message>
    <message>
        <source>The destination %1 is not a folder. Choose another folder.</source>
        <translation>La destination %1 n’est pas un dossier. Choisissez un autre dossier.</translation>
    </message>
    <message>
        <source>The destination folder %1 does not exist. Connect its drive or choose another folder.</source>
        <translation>Le dossier de destination %1 n’existe pas. Branchez son disque ou choisissez un autre dossier.</translation>
    </message>
    <message>
        <source>Velarix cannot write to the destination folder %1 (%2). Choose another folder to import into.</source>
        <translation>Velarix ne peut pas écrire dans le dossier de destination %1 (%2). Choisissez un autre dossier où importer.</translation>
    </message>
    <message>
        <source>Not enough free space in %1: %2 needed, %3 available.</source>
        <translation>Pas assez d’espace libre dans %1 : %2 nécessaires, %3 disponibles.</translation>
    </message>
    <message>
        <source>The card&apos;s identity could not be read, so the import history could not record the copies: %1</source>
        <translation>L’identité de la carte n’a pas pu être lue, l’historique d’importation n’a donc pas pu enregistrer les copies : %1</translation>
    </message>
    <message>
        <source>%1 of %2 videos could not be imported: %3</source>
        <translation>%1 vidéos sur %2 n’ont pas pu être importées : %3</translation>
    </message>
    <message>
        <source>%1 copied videos are in place, but Velarix could not record them as imported. %2</source>
        <translation>%1 vidéos copiées sont en place, mais Velarix n’a pas pu les enregistrer comme importées. %2</translation>
    </message>
    <message>
        <source>The import was cancelled. </source>
        <translation>L’importation a été annulée. </translation>
    </message>
    <message>
        <source>%1 could not be copied to %2: %3</source>
        <translation>%1 n’a pas pu être copié vers %2 : %3</translation>
    </message>
    <message>
        <source>%1 of %2 videos could not be imported. </source>
        <translation>%1 vidéos sur %2 n’ont pas pu être importées. </translation>
    </message>
</context>
<context>
    <name>velarix::VelarixSettings</name>
    <message>
        <source>Velarix Settings</source>
        <translation>Réglages de Velarix</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Keep Velarix running in the background and open it when a camera card is inserted</source>
        <translation>Garder Velarix en arrière-plan et l’ouvrir à l’insertion d’une carte</translation>
    </message>
    <message>
        <source>Closing the last window then leaves Velarix watching for cards (in the system tray where the desktop has one). Quit with File › Quit (Ctrl+Q).</source>
        <translation>Fermer la dernière fenêtre laisse alors Velarix surveiller les cartes (dans la zone de notification si le bureau en a une). Quittez avec Fichier › Quitter (Ctrl+Q).</translation>
    </message>
    <message>
        <source>Start at login, in the background</source>
        <translation>Démarrer à l’ouverture de session, en arrière-plan</translation>
    </message>
    <message>
        <source>Start at Login</source>
        <translation>Démarrer à la connexion</translation>
    </message>
    <message>
        <source>Video Trimming</source>
        <translation>Découpe vidéo</translation>
    </message>
    <message>
        <source>Keep originals in the Trash</source>
        <translation>Garder les originaux dans la corbeille</translation>
    </message>
    <message>
        <source>A trimmed video&apos;s original goes to the Trash of its drive, where the file manager can restore it, instead of being deleted. Its space is freed only when the Trash is emptied.</source>
        <translation>L’original d’une vidéo coupée va dans la corbeille de son disque, où le gestionnaire de fichiers peut le restaurer, au lieu d’être supprimé. L’espace n’est libéré qu’une fois la corbeille vidée.</translation>
    </message>
</context>
<context>
    <name>velarix::VelarixView</name>
    <message numerus="yes">
        <source>All %n selected video(s) were imported before.</source>
        <translation>
            <numerusform>La vidéo sélectionnée a déjà été importée.</numerusform>
            <numerusform>Les %n vidéos sélectionnées ont toutes déjà été importées.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n selected video(s) were imported before.</source>
        <translation>
            <numerusform>%1 vidéo sélectionnée sur %n a déjà été importée.</numerusform>
            <numerusform>%1 des %n vidéos sélectionnées ont déjà été importées.</numerusform>
        </translation>
    </message>
    <message>
        <source>No SD Card Found</source>
        <translation>Aucune carte SD</translation>
    </message>
    <message>
        <source>Insert a camera card to see its videos here.</source>
        <translation>Insérez une carte de caméra pour voir ses vidéos ici.</translation>
    </message>
    <message>
        <source>&amp;Trim Videos…</source>
        <translation>&amp;Couper des vidéos…</translation>
    </message>
    <message>
        <source>Trim videos already on this computer to the jump</source>
        <translation>Couper sur le saut des vidéos déjà sur cet ordinateur</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Principale</translation>
    </message>
    <message>
        <source>&amp;Eject</source>
        <translation>É&amp;jecter</translation>
    </message>
    <message>
        <source>Eject SD card [Ctrl+E]</source>
        <translation>Éjecter la carte SD [Ctrl+E]</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importer</translation>
    </message>
    <message>
        <source>Import [Ctrl+I]</source>
        <translation>Importer [Ctrl+I]</translation>
    </message>
    <message>
        <source>No Videos on %1</source>
        <translation>Aucune vidéo sur %1</translation>
    </message>
    <message>
        <source>This card has no videos in its camera folders. Choose another card on the left.</source>
        <translation>Cette carte n’a pas de vidéos dans ses dossiers de caméra. Choisissez une autre carte à gauche.</translation>
    </message>
    <message>
        <source>This card has no videos in its camera folders. Insert another camera card to see its videos here.</source>
        <translation>Cette carte n’a pas de vidéos dans ses dossiers de caméra. Insérez une autre carte pour voir ses vidéos ici.</translation>
    </message>
    <message>
        <source>%1 (%2 available)</source>
        <translation>%1 (%2 disponibles)</translation>
    </message>
    <message>
        <source>Change Destination…</source>
        <translation>Changer de destination…</translation>
    </message>
    <message>
        <source>Importing them again makes second copies.</source>
        <translation>Les importer à nouveau crée des doublons.</translation>
    </message>
    <message>
        <source>&amp;Skip Imported</source>
        <translation>&amp;Ignorer les importées</translation>
    </message>
    <message>
        <source>Import &amp;Again</source>
        <translation>Importer à &amp;nouveau</translation>
    </message>
</context>
<context>
    <name>velarix::VideoPlayerView</name>
    <message>
        <source>Loading Preview</source>
        <translation>Chargement de l’aperçu</translation>
    </message>
    <message>
        <source>The video could not be played.</source>
        <translation>La vidéo n’a pas pu être lue.</translation>
    </message>
    <message>
        <source>Preview Unavailable</source>
        <translation>Aperçu indisponible</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTableDelegate</name>
    <message>
        <source>Imported</source>
        <translation>Importée</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouvelle</translation>
    </message>
    <message>
        <source>Unreadable</source>
        <translation>Illisible</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTableModel</name>
    <message>
        <source>Thumbnail</source>
        <translation>Vignette</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>State</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Créée</translation>
    </message>
    <message>
        <source>Imported</source>
        <translation>Importée</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouvelle</translation>
    </message>
    <message>
        <source>Unreadable</source>
        <translation>Illisible</translation>
    </message>
    <message>
        <source>imported</source>
        <extracomment>Import state as a screen reader says it within a table row</extracomment>
        <translation>importée</translation>
    </message>
    <message>
        <source>new</source>
        <extracomment>Import state as a screen reader says it within a table row</extracomment>
        <translation>nouvelle</translation>
    </message>
    <message>
        <source>unreadable</source>
        <extracomment>Import state as a screen reader says it within a table row</extracomment>
        <translation>illisible</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimAnalysis</name>
    <message>
        <source>Duration %1</source>
        <translation>Durée %1</translation>
    </message>
    <message>
        <source>Unable to read duration</source>
        <translation>Durée illisible</translation>
    </message>
    <message>
        <source>The file duration could not be loaded.</source>
        <translation>La durée du fichier n’a pas pu être lue.</translation>
    </message>
    <message>
        <source>Clip is shorter than %1, so no trim suggestion was generated.</source>
        <translation>Le clip dure moins de %1 : aucune découpe proposée.</translation>
    </message>
    <message>
        <source>No confident trim suggestion found.</source>
        <translation>Aucune découpe sûre trouvée.</translation>
    </message>
    <message>
        <source>Keep %1-%2</source>
        <translation>Garder %1–%2</translation>
    </message>
    <message>
        <source>No audio track found, so no trim suggestion was generated.</source>
        <translation>Aucune piste audio trouvée, donc aucune suggestion de coupe n’a été faite.</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A suggested range and what it needs: &quot;Keep 00:40-02:30 (check before trimming)&quot;.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>check before trimming</source>
        <translation>à vérifier avant de couper</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimEditorSheet</name>
    <message>
        <source>Adjust Trim Range</source>
        <translation>Ajuster la plage</translation>
    </message>
    <message>
        <source>Click or press Space to play the kept range</source>
        <translation>Cliquez ou appuyez sur Espace pour lire la plage gardée</translation>
    </message>
    <message>
        <source>Trim Range</source>
        <translation>Plage gardée</translation>
    </message>
    <message>
        <source>Preview at %1</source>
        <translation>Aperçu à %1</translation>
    </message>
    <message>
        <source>Drag the left and right handles to choose the kept range.</source>
        <translation>Faites glisser les poignées gauche et droite pour choisir la plage gardée.</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Put back the range from before this editor opened (Esc)</source>
        <translation>Remettre la plage d’avant l’ouverture de l’éditeur (Échap)</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>the exit at %1</source>
        <translation>la sortie à %1</translation>
    </message>
    <message>
        <source>the canopy opening at %1</source>
        <translation>l’ouverture de la voile à %1</translation>
    </message>
    <message>
        <source>Leaves out %1</source>
        <translation>Laisse de côté %1</translation>
    </message>
    <message>
        <source> and </source>
        <translation> et </translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimItem</name>
    <message>
        <source>Waiting to analyze…</source>
        <translation>En attente d’analyse…</translation>
    </message>
    <message>
        <source>No suggestion</source>
        <translation>Pas de proposition</translation>
    </message>
    <message>
        <source>no freefall noise found</source>
        <translation>aucun bruit de chute libre trouvé</translation>
    </message>
    <message>
        <source>opening not found</source>
        <translation>ouverture introuvable</translation>
    </message>
    <message>
        <source>the jump fills nearly the whole clip, so trimming would save less than 15 seconds</source>
        <translation>le saut remplit presque tout le clip, couper ferait gagner moins de 15 secondes</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimItemRow</name>
    <message>
        <source>Adjust…</source>
        <translation>Ajuster…</translation>
    </message>
    <message>
        <source>Keep Full</source>
        <translation>Garder entière</translation>
    </message>
    <message>
        <source>Choose the kept range on a preview</source>
        <translation>Choisir la plage gardée sur un aperçu</translation>
    </message>
    <message>
        <source>Do not trim this video</source>
        <translation>Ne pas couper cette vidéo</translation>
    </message>
    <message>
        <source>Trimmed</source>
        <translation>Coupée</translation>
    </message>
    <message>
        <source>Remove from the list (Delete). The file stays as it is.</source>
        <translation>Retirer de la liste (Suppr). Le fichier reste tel quel.</translation>
    </message>
    <message>
        <source>Remove from List</source>
        <translation>Retirer de la liste</translation>
    </message>
    <message>
        <source>Analyzing</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>Save about %1 (%2%)</source>
        <translation>Gain d’environ %1 (%2 %)</translation>
    </message>
    <message>
        <source>Manually adjusted</source>
        <translation>Ajustée à la main</translation>
    </message>
    <message>
        <source>Check before trimming: %1</source>
        <translation>À vérifier avant de couper : %1</translation>
    </message>
    <message>
        <source>Keep full video</source>
        <translation>Garder la vidéo entière</translation>
    </message>
    <message>
        <source>Manual range does not trim enough to export a new file</source>
        <translation>La plage choisie coupe trop peu pour créer un nouveau fichier</translation>
    </message>
    <message>
        <source>No trimming needed</source>
        <translation>Rien à couper</translation>
    </message>
    <message>
        <source>No trim suggestion: %1.</source>
        <translation>Pas de proposition : %1.</translation>
    </message>
    <message>
        <source>Trim failed: %1</source>
        <translation>Échec de la découpe : %1</translation>
    </message>
    <message>
        <source>%1 · Manual %2</source>
        <translation>%1 · Manuel %2</translation>
    </message>
    <message>
        <source>Undo Keep Full</source>
        <translation>Annuler « Garder entière »</translation>
    </message>
    <message>
        <source>Go back to the range before Keep Full</source>
        <translation>Revenir à la plage d’avant « Garder entière »</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimmingModel</name>
    <message numerus="yes">
        <source>Done. Trimmed %n video(s), %1 failed.</source>
        <translation>
            <numerusform>Terminé. %n vidéo coupée, %1 en échec.</numerusform>
            <numerusform>Terminé. %n vidéos coupées, %1 en échec.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Done. Trimmed %n video(s).</source>
        <translation>
            <numerusform>Terminé. %n vidéo coupée.</numerusform>
            <numerusform>Terminé. %n vidéos coupées.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n skipped: their suggestions need a check before trimming.</source>
        <translation>
            <numerusform>%n ignorée : sa proposition doit être vérifiée avant la découpe.</numerusform>
            <numerusform>%n ignorées : leurs propositions doivent être vérifiées avant la découpe.</numerusform>
        </translation>
    </message>
    <message>
        <source>Analyzing audio…</source>
        <translation>Analyse du son…</translation>
    </message>
    <message>
        <source>Analysis failed</source>
        <translation>Échec de l’analyse</translation>
    </message>
    <message>
        <source>Kept in full</source>
        <translation>Gardée entière</translation>
    </message>
    <message>
        <source>Kept: less than 15 seconds to remove</source>
        <translation>Gardée : moins de 15 secondes à retirer</translation>
    </message>
    <message>
        <source>Trimmed in place</source>
        <translation>Coupée sur place</translation>
    </message>
    <message>
        <source>Kept: check before trimming (%1)</source>
        <extracomment>A file not trimmed because its suggestion needs a look; %1 says why.</extracomment>
        <translation>Conservé : à vérifier avant de couper (%1)</translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimmingView</name>
    <message>
        <source>Add Videos</source>
        <translation>Ajouter des vidéos</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>%1 is not a local file, so it cannot be trimmed in place.</source>
        <translation>%1 n’est pas un fichier local et ne peut donc pas être coupé sur place.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>The suggested range may leave out part of the jump. Adjust it, or trim the others only.

</source>
        <translation>La plage proposée laisse peut-être de côté une partie du saut. Ajustez-la, ou coupez seulement les autres.

</translation>
    </message>
    <message>
        <source>Trim Only the Others</source>
        <translation>Couper seulement les autres</translation>
    </message>
    <message>
        <source>Trim All Anyway</source>
        <translation>Tout couper quand même</translation>
    </message>
    <message>
        <source>Video Trimming</source>
        <translation>Découpe vidéo</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) have ranges you adjusted that are not trimmed yet.</source>
        <translation>
            <numerusform>%n vidéo a une plage ajustée pas encore coupée.</numerusform>
            <numerusform>%n vidéos ont des plages ajustées pas encore coupées.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) should be checked before trimming</source>
        <translation>
            <numerusform>%n vidéo est à vérifier avant la découpe</numerusform>
            <numerusform>%n vidéos sont à vérifier avant la découpe</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::WindowCloseGuard</name>
    <message>
        <source>Cancel current work and close?</source>
        <translation>Annuler le travail en cours et fermer ?</translation>
    </message>
    <message>
        <source>Analysis or trimming is still running.</source>
        <translation>Une analyse ou une découpe est en cours.</translation>
    </message>
    <message>
        <source>Cancel Work and Close</source>
        <translation>Annuler et fermer</translation>
    </message>
    <message>
        <source>Keep Window Open</source>
        <translation>Garder la fenêtre ouverte</translation>
    </message>
    <message>
        <source>Close and discard your adjusted ranges?</source>
        <translation>Fermer et abandonner les plages ajustées ?</translation>
    </message>
    <message>
        <source>Discard and Close</source>
        <translation>Abandonner et fermer</translation>
    </message>
</context>
<context>
    <name>velarix::main</name>
    <message>
        <source>Start without a window, with only the tray icon.</source>
        <translation>Démarrer sans fenêtre, avec seulement l’icône dans la zone de notification.</translation>
    </message>
    <message>
        <source>Imports skydiving videos from camera cards and trims them to the jump.</source>
        <translation>Importe les vidéos de saut depuis les cartes de caméra et les coupe sur le saut.</translation>
    </message>
    <message>
        <source>Videos to open for trimming.</source>
        <translation>Vidéos à ouvrir pour les couper.</translation>
    </message>
</context>
</TS>
