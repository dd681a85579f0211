<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- English plural forms for the texts written as tr("%n thing(s)", nullptr, n). -->
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>velarix::ImportNotifier</name>
    <message numerus="yes">
        <source>%n video(s)</source>
        <translation>
            <numerusform>%n video</numerusform>
            <numerusform>%n videos</numerusform>
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
</TS>
