<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>QObject</name>
    <message>
        <source>Altitude %1–%2 m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Acceleration, up to %1 g</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP4, MOV and 360 videos (*.mp4 *.MP4 *.mov *.MOV *.360 *.insv *.INSV)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MPEG-4 movies (*.mp4 *.MP4 *.m4v *.M4V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Movies (*.mp4 *.MP4 *.m4v *.mov *.MOV *.mkv *.avi *.webm *.mts *.MTS *.mpg *.mpeg *.360 *.insv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>360 videos (*.360 *.insv *.INSV)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::Appcast</name>
    <message>
        <source>The update feed could not be read: %1 (line %2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update feed is not an RSS feed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::Autostart</name>
    <message>
        <source>The login item %1 could not be removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The login item %1 could not be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::CardListDelegate</name>
    <message>
        <source>%1 free</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Eject %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::CardListView</name>
    <message>
        <source>Another card can be chosen when the import has finished.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::DisplayFormats</name>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>%1 KB</source>
        <extracomment>Units of 1000 bytes (&quot;Ko&quot;, &quot;Mo&quot; in French)</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 PB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 hr</source>
        <extracomment>Abbreviated hours of a duration</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 min</source>
        <extracomment>Abbreviated minutes of a duration</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sec</source>
        <extracomment>Abbreviated seconds of a duration</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>now</source>
        <extracomment>A moment relative to now</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n year(s) ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n year(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n month(s) ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n month(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n week(s) ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n week(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n day(s) ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n day(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour(s) ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n hour(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s) ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n minute(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s) ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n second(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::DroppedVideos</name>
    <message>
        <source>No MP4 or 360 videos were found in %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source> and %n more</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Skipped %n file(s) that are not MP4 or 360 videos: %1.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::ImportNotifier</name>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Importing %1 — %2%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) copied to %1</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Import cancelled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::ImportPattern</name>
    <message>
        <source>{date}: Date of the file YYYY-MM-DD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>{today}: Day of import YYYY-MM-DD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>{name}: Name of the SD card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>{jump}: Jump number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>{filename}: Name of the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/: automatically creates subfolders</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::ImportProgress</name>
    <message>
        <source>Verifying</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copying</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verifying %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copying %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 of %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, verifying %2 of %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — %2 of %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2/s</source>
        <extracomment>Copy speed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, about %2 left</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::ImportRun</name>
    <message>
        <source>The import was cancelled before a video was copied. Nothing was added to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>The import was cancelled. %n video(s) copied and verified before that stay in %1 and count as imported; </source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the other %n were not copied.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::JumpTableView</name>
    <message>
        <source>Select All New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select every video not imported yet [Ctrl+Shift+A]</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::LoadingPanel</name>
    <message>
        <source>Loading Videos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanning the SD card and preparing video details.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::PatternTextEdit</name>
    <message>
        <source>%1 is not a placeholder and would stay in the names as typed.
Placeholders: %2 and %3; “/” makes a folder.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::PreviewWindow</name>
    <message numerus="yes">
        <source>%1 (%n chapter(s))</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Drag to move through the video (Left and Right step 5 seconds)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause [Space]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play [Space]</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::RecordingStatus</name>
    <message>
        <source>Imported. The copy was read back and verified.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imported without verification: the copy was not read back and compared. Import it again to verify it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) imported without verification are not selected. Select them to import and verify them again.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::TrimDropZone</name>
    <message>
        <source>Drop MP4, MOV or 360 videos here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyze likely freefall ranges and replace trimmed originals in place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Videos…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::TrimFooterBar</name>
    <message>
        <source>Analyze Again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep originals in the Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each replaced original goes to the Trash of its drive, where the file manager can restore it, instead of being deleted. The space is freed only when the Trash is emptied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim Suggested Videos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 processed, %3 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyzing audio… </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trimming videos… </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 videos</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::TrimHeaderBar</name>
    <message>
        <source>Trim freefall ranges from skydiving videos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The first pass uses audio and lightweight frame analysis to keep the main skydive through deployment.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Estimated savings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Videos…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::TrimProgressScreen</name>
    <message>
        <source>Trimming videos…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trimming %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::TrimRangeSelector</name>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Canopy</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::TrimSummaryScreen</name>
    <message>
        <source>Add Videos…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 will be freed when the Trash is emptied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved %1; %2 more will be freed when the Trash is emptied</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) could not be trimmed and are unchanged; the reasons are below.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Trimmed; about %1 will be freed when the Trash is emptied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trimmed, saved about %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::UpdateDialog</name>
    <message>
        <source>Software Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You’re up to date!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velarix %1 is currently the newest version available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A new version of Velarix is available!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velarix %1 is now available — you have %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download size: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;a href=&quot;%1&quot;&gt;Read the release notes&lt;/a&gt;&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No release notes were published with this version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Release notes:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::Updater</name>
    <message>
        <source>This build of Velarix has no update feed configured, so it cannot look for updates. Set &quot;%1&quot; in the settings file to the address of an appcast feed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velarix could not reach the update server: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VelarixApp</name>
    <message>
        <source>Originals of an interrupted trim were kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velarix keeps watching for camera cards</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It opens when you insert one. To quit, open Velarix and choose File › Quit (Ctrl+Q), or turn off “Keep Velarix running in the background” in Settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An import is running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velarix can finish the import and then quit, or stop it now: the videos copied and verified so far stay imported, the others are not imported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Velarix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h3&gt;Velarix %1&lt;/h3&gt;&lt;p&gt;Imports skydiving videos from camera cards and trims them to the jump.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velarix can move it aside (renamed with today&apos;s date, not deleted) and start a new, empty import history. Videos will then not show as imported until they are imported again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Finish Import, Then Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Stop Import and Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Settings…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video &amp;Trimming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Check for Updates…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Velarix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not create ModelContainer: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Move Aside and Start New History</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VelarixFormView</name>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;hange…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose destination folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert &amp;Placeholder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filename pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open imported folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reveal the destination folder after a successful import.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim after import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the imported copies in Video Trimming and analyse them, ready to review and trim.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jump Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto increment jump number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advance the jump number after each completed import.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto group nearby clips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep nearby recordings under the same jump number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join chapters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import a recording the camera split into chapters as one video.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import sidecar files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the files a camera writes beside a video (thumbnails, GPS, clip data) with it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import proxy files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With the sidecar files, copy the low-resolution previews (LRV, LRF) too.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SD Card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SD card actions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Import History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SD Card Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files to import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has no import history.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the import history of %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Clear the import history of %1? This removes %n record(s).</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Its videos will show as not imported and can be imported again. Copies already made stay where they are.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;lear History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free space unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needed, %2 available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — not enough space</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VelarixModel</name>
    <message>
        <source>Scanning SD card…</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Scanning SD card… %n video(s) found</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Loading video details… %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VelarixSettings</name>
    <message>
        <source>Velarix Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Velarix running in the background and open it when a camera card is inserted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Closing the last window then leaves Velarix watching for cards (in the system tray where the desktop has one). Quit with File › Quit (Ctrl+Q).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start at login, in the background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start at Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video Trimming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep originals in the Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A trimmed video&apos;s original goes to the Trash of its drive, where the file manager can restore it, instead of being deleted. Its space is freed only when the Trash is emptied.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VelarixView</name>
    <message numerus="yes">
        <source>All %n selected video(s) were imported before.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n selected video(s) were imported before.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>No SD Card Found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert a camera card to see its videos here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Trim Videos…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim videos already on this computer to the jump</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Main</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Eject</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eject SD card [Ctrl+E]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import [Ctrl+I]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Videos on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This card has no videos in its camera folders. Choose another card on the left.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This card has no videos in its camera folders. Insert another camera card to see its videos here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 available)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Destination…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Importing them again makes second copies.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Skip Imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import &amp;Again</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VideoPlayerView</name>
    <message>
        <source>Loading Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video could not be played.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview Unavailable</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VideoTableDelegate</name>
    <message>
        <source>Imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unreadable</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VideoTableModel</name>
    <message>
        <source>Thumbnail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unreadable</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimEditorSheet</name>
    <message>
        <source>Adjust Trim Range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click or press Space to play the kept range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim Range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag the left and right handles to choose the kept range.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put back the range from before this editor opened (Esc)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the exit at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the canopy opening at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leaves out %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> and </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimItemRow</name>
    <message>
        <source>Adjust…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the kept range on a preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not trim this video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trimmed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from the list (Delete). The file stays as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyzing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save about %1 (%2%)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manually adjusted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check before trimming: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep full video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual range does not trim enough to export a new file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No trimming needed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No trim suggestion: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · Manual %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo Keep Full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go back to the range before Keep Full</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimmingModel</name>
    <message numerus="yes">
        <source>Done. Trimmed %n video(s), %1 failed.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Done. Trimmed %n video(s).</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n skipped: their suggestions need a check before trimming.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimmingView</name>
    <message>
        <source>1 video has a range you adjusted that is not trimmed yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 videos have ranges you adjusted that are not trimmed yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Videos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a local file, so it cannot be trimmed in place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 video should be checked before trimming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 videos should be checked before trimming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The suggested range may leave out part of the jump. Adjust it, or trim the others only.

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim Only the Others</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim All Anyway</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video Trimming</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velarix::WindowCloseGuard</name>
    <message>
        <source>Cancel current work and close?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analysis or trimming is still running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel Work and Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Window Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close and discard your adjusted ranges?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard and Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
