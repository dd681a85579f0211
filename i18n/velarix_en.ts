<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>velarix-cli</name>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n video</numerusform>
            <numerusform>%n videos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) cannot be read as video; an import copies them as they are.</source>
        <translation>
            <numerusform>%n file cannot be read as video; an import copies it as it is.</numerusform>
            <numerusform>%n files cannot be read as video; an import copies them as they are.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>left out %n empty file(s) (nothing to copy; name them to try anyway): %1</source>
        <translation>
            <numerusform>left out an empty file (nothing to copy; name it to try anyway): %1</numerusform>
            <numerusform>left out %n empty files (nothing to copy; name them to try anyway): %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Cleared %n record(s) of %1.</source>
        <translation>
            <numerusform>Cleared %n record of %1.</numerusform>
            <numerusform>Cleared %n records of %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>all %n selected video(s) were imported before and are copied again; --new skips what was imported.</source>
        <translation>
            <numerusform>the selected video was imported before and is copied again; --new skips what was imported.</numerusform>
            <numerusform>all %n selected videos were imported before and are copied again; --new skips what was imported.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n selected video(s) were imported before and are copied again; --new skips what was imported.</source>
        <translation>
            <numerusform>%1 of the %n selected video were imported before and are copied again; --new skips what was imported.</numerusform>
            <numerusform>%1 of the %n selected videos were imported before and are copied again; --new skips what was imported.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n video(s) copied, but not recorded as imported</source>
        <translation>
            <numerusform>%1 of %n video copied, but not recorded as imported</numerusform>
            <numerusform>%1 of %n videos copied, but not recorded as imported</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n video(s) imported</source>
        <translation>
            <numerusform>%1 of %n video imported</numerusform>
            <numerusform>%1 of %n videos imported</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n chapter(s))</source>
        <translation>
            <numerusform>%1 (%n chapter)</numerusform>
            <numerusform>%1 (%n chapters)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::CardListDelegate</name>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n video</numerusform>
            <numerusform>%n videos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::DisplayFormats</name>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation>
            <numerusform>%n byte</numerusform>
            <numerusform>%n bytes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n year(s) ago</source>
        <translation>
            <numerusform>%n year ago</numerusform>
            <numerusform>%n years ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n year(s)</source>
        <translation>
            <numerusform>in %n year</numerusform>
            <numerusform>in %n years</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n month(s) ago</source>
        <translation>
            <numerusform>%n month ago</numerusform>
            <numerusform>%n months ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n month(s)</source>
        <translation>
            <numerusform>in %n month</numerusform>
            <numerusform>in %n months</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n week(s) ago</source>
        <translation>
            <numerusform>%n week ago</numerusform>
            <numerusform>%n weeks ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n week(s)</source>
        <translation>
            <numerusform>in %n week</numerusform>
            <numerusform>in %n weeks</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n day(s) ago</source>
        <translation>
            <numerusform>%n day ago</numerusform>
            <numerusform>%n days ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n day(s)</source>
        <translation>
            <numerusform>in %n day</numerusform>
            <numerusform>in %n days</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour(s) ago</source>
        <translation>
            <numerusform>%n hour ago</numerusform>
            <numerusform>%n hours ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n hour(s)</source>
        <translation>
            <numerusform>in %n hour</numerusform>
            <numerusform>in %n hours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s) ago</source>
        <translation>
            <numerusform>%n minute ago</numerusform>
            <numerusform>%n minutes ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n minute(s)</source>
        <translation>
            <numerusform>in %n minute</numerusform>
            <numerusform>in %n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s) ago</source>
        <translation>
            <numerusform>%n second ago</numerusform>
            <numerusform>%n seconds ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>in %n second(s)</source>
        <translation>
            <numerusform>in %n second</numerusform>
            <numerusform>in %n seconds</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::DroppedVideos</name>
    <message numerus="yes">
        <source> and %n more</source>
        <translation>
            <numerusform> and %n more</numerusform>
            <numerusform> and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Skipped %n file(s) that are not MP4 or 360 videos: %1.</source>
        <translation>
            <numerusform>Skipped a file that is not an MP4 or 360 video: %1.</numerusform>
            <numerusform>Skipped %n files that are not MP4 or 360 videos: %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::ImportNotifier</name>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n video</numerusform>
            <numerusform>%n videos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) copied to %1</source>
        <translation>
            <numerusform>%n video copied to %1</numerusform>
            <numerusform>%n videos copied to %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::ImportRun</name>
    <message numerus="yes">
        <source>The import was cancelled. %n video(s) copied and verified before that stay in %1 and count as imported; </source>
        <translation>
            <numerusform>The import was cancelled. The video copied and verified before that stays in %1 and counts as imported; </numerusform>
            <numerusform>The import was cancelled. The %n videos copied and verified before that stay in %1 and count as imported; </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the other %n were not copied.</source>
        <translation>
            <numerusform>the other one was not copied.</numerusform>
            <numerusform>the other %n were not copied.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::PreviewWindow</name>
    <message numerus="yes">
        <source>%1 (%n chapter(s))</source>
        <translation>
            <numerusform>%1 (%n chapter)</numerusform>
            <numerusform>%1 (%n chapters)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::RecordingStatus</name>
    <message numerus="yes">
        <source>%n video(s) imported without verification are not selected. Select them to import and verify them again.</source>
        <translation>
            <numerusform>%n video imported without verification is not selected. Select it to import and verify it again.</numerusform>
            <numerusform>%n videos imported without verification are not selected. Select them to import and verify them again.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::SpokenText</name>
    <message numerus="yes">
        <source>%n hour(s)</source>
        <translation>
            <numerusform>%n hour</numerusform>
            <numerusform>%n hours</numerusform>
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
            <numerusform>%n second</numerusform>
            <numerusform>%n seconds</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::TrimFooterBar</name>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n video</numerusform>
            <numerusform>%n videos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::TrimSummaryScreen</name>
    <message numerus="yes">
        <source>%n video(s) could not be trimmed and are unchanged; the reasons are below.</source>
        <translation>
            <numerusform>1 video could not be trimmed and is unchanged; the reason is below.</numerusform>
            <numerusform>%n videos could not be trimmed and are unchanged; the reasons are below.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::VelarixFormView</name>
    <message numerus="yes">
        <source>Clear the import history of %1? This removes %n record(s).</source>
        <translation>
            <numerusform>Clear the import history of %1? This removes %n record.</numerusform>
            <numerusform>Clear the import history of %1? This removes %n records.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::VelarixModel</name>
    <message numerus="yes">
        <source>Scanning SD card… %n video(s) found</source>
        <translation>
            <numerusform>Scanning SD card… %n video found</numerusform>
            <numerusform>Scanning SD card… %n videos found</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::VelarixView</name>
    <message numerus="yes">
        <source>All %n selected video(s) were imported before.</source>
        <translation>
            <numerusform>The selected video was imported before.</numerusform>
            <numerusform>All %n selected videos were imported before.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n selected video(s) were imported before.</source>
        <translation>
            <numerusform>%1 of the %n selected video was imported before.</numerusform>
            <numerusform>%1 of the %n selected videos were imported before.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimmingModel</name>
    <message numerus="yes">
        <source>Done. Trimmed %n video(s), %1 failed.</source>
        <translation>
            <numerusform>Done. Trimmed %n video, %1 failed.</numerusform>
            <numerusform>Done. Trimmed %n videos, %1 failed.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Done. Trimmed %n video(s).</source>
        <translation>
            <numerusform>Done. Trimmed %n video.</numerusform>
            <numerusform>Done. Trimmed %n videos.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n skipped: their suggestions need a check before trimming.</source>
        <translation>
            <numerusform>%n skipped: its suggestion needs a check before trimming.</numerusform>
            <numerusform>%n skipped: their suggestions need a check before trimming.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velarix::VideoTrimmingView</name>
    <message numerus="yes">
        <source>%n video(s) have ranges you adjusted that are not trimmed yet.</source>
        <translation>
            <numerusform>%n video has a range you adjusted that is not trimmed yet.</numerusform>
            <numerusform>%n videos have ranges you adjusted that are not trimmed yet.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) should be checked before trimming</source>
        <translation>
            <numerusform>%n video should be checked before trimming</numerusform>
            <numerusform>%n videos should be checked before trimming</numerusform>
        </translation>
    </message>
</context>
</TS>
