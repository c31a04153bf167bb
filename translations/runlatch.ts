<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" sourcelanguage="en">
<context>
    <name>ActivityLog</name>
    <message>
        <location filename="../src/log/ActivityLog.cpp" line="24"/>
        <source>File not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/log/ActivityLog.cpp" line="26"/>
        <source>Access denied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/log/ActivityLog.cpp" line="28"/>
        <source>Disk full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/log/ActivityLog.cpp" line="135"/>
        <source>Cannot open file %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DBusNotifier</name>
    <message>
        <location filename="../src/app/DesktopNotifierLinux.cpp" line="65"/>
        <source>Show Runlatch</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ErrorGuard</name>
    <message>
        <location filename="../src/core/ErrorGuard.cpp" line="27"/>
        <source>Out of memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/ErrorGuard.cpp" line="31"/>
        <source>Unknown error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <location filename="../src/app/FileCommands.cpp" line="24"/>
        <source>Sorry, Runlatch is limited to 50 Processes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/FileCommands.cpp" line="37"/>
        <source>Ini File (*.ini)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/FileCommands.cpp" line="39"/>
        <source>Save As Ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/FileCommands.cpp" line="40"/>
        <source>Open Ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/FileCommands.cpp" line="48"/>
        <source>Ini has been modified, do you wish to save?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="167"/>
        <source>Search for</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="168"/>
        <source>Words to look for in every topic; Enter searches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="174"/>
        <source>Search results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="73"/>
        <source>Runlatch Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="79"/>
        <source>Find a topic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="80"/>
        <source>The manual&apos;s contents, its index and a full-text search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="86"/>
        <source>Help page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="86"/>
        <source>The topic of the manual shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="126"/>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="126"/>
        <source>The manual&apos;s topics; Enter or a click shows one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="81"/>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="82"/>
        <source>&amp;Index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="83"/>
        <source>&amp;Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="142"/>
        <source>Look for</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="159"/>
        <source>&amp;Look for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="147"/>
        <source>Index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="90"/>
        <source>No program could be started for the link %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="143"/>
        <source>Narrows the index to the keywords that hold what is typed; Enter shows the topic of the one selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="148"/>
        <source>The manual&apos;s keywords; Enter or a double click shows the topic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="175"/>
        <source>The topics that hold the words searched for, best first; a click shows one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="181"/>
        <source>Search &amp;for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="186"/>
        <source>Navigation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="191"/>
        <source>&amp;Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="198"/>
        <source>&amp;Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="203"/>
        <source>C&amp;ontents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="261"/>
        <source>Type one or more words to look for.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="268"/>
        <source>1 match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="268"/>
        <source>%1 matches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="273"/>
        <source>1 topic found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="274"/>
        <source>%1 topics found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/help/HelpWindow.cpp" line="271"/>
        <source>No topic holds every word of &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LogView</name>
    <message>
        <location filename="../src/ui/logview/LogView.cpp" line="356"/>
        <source>Reading the log... %1%</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MakerLogo</name>
    <message>
        <location filename="../src/ui/about/MakerLogo.cpp" line="47"/>
        <source>Logo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/MakerLogo.cpp" line="48"/>
        <source>The maker&apos;s logo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotRegularFileError</name>
    <message>
        <location filename="../src/core/UserFile.cpp" line="7"/>
        <source>%1 is not a regular file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterSplitter</name>
    <message>
        <location filename="../src/exec/ParameterSplitter.cpp" line="44"/>
        <source>Unterminated double quote in the parameters &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/exec/ParameterSplitter.cpp" line="65"/>
        <source>Backslash at the end in the parameters &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/exec/ParameterSplitter.cpp" line="76"/>
        <source>Unterminated single quote in the parameters &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QtPrompts</name>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="76"/>
        <source>The text offered is selected: typing replaces it, OK alone keeps it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="83"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="84"/>
        <source>Uses the text in the field</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="86"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="87"/>
        <source>Leaves everything as it was</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="116"/>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="122"/>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="128"/>
        <location filename="../src/app/QtPrompts.cpp" line="135"/>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScheduleExport</name>
    <message>
        <location filename="../src/export/ExportCommand.cpp" line="37"/>
        <source>Usage: runlatch %1 JOBFILE [FOLDER]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/export/JobSchedule.cpp" line="19"/>
        <source>%1 has nothing to schedule: it neither repeats nor has a delayed start still to come.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/export/SystemdUnits.cpp" line="69"/>
        <source>The name of %1 is too long for the name of a systemd unit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/export/TaskSchedulerXml.cpp" line="30"/>
        <source>%1 holds a double quote, which the Task Scheduler cannot pass on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/export/TaskSchedulerXml.cpp" line="90"/>
        <source>The Task Scheduler repeats a task at most every 31 days; this job repeats every %1 hours and %2 minutes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/export/ScheduleExport.cpp" line="25"/>
        <source>%1 holds a line break or another control character, which a scheduled command cannot hold.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/export/ScheduleExport.cpp" line="87"/>
        <source>%1 not found!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/export/ScheduleExport.cpp" line="119"/>
        <source>Cannot write %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Scheduler</name>
    <message>
        <location filename="../src/sched/Scheduler.cpp" line="118"/>
        <source>Delayed Start Time has already passed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/sched/Scheduler.cpp" line="140"/>
        <source>Do you want to start the clock for delayed processing?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/sched/Scheduler.h" line="29"/>
        <source>Caught up a run missed during sleep</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StartAndWait</name>
    <message>
        <location filename="../src/exec/StartAndWait.cpp" line="22"/>
        <source>Unable to find application %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="31"/>
        <source>%1 of %2 programs failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="47"/>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="56"/>
        <source>Delayed start at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="60"/>
        <source>Next run at %1 (every %2 h %3 min)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="73"/>
        <source>Repeats every %1 h %2 min after the first run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="77"/>
        <source>Idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="82"/>
        <source>Running %1 of %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="90"/>
        <source>Last run completed %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="96"/>
        <source>Last run stopped %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="106"/>
        <source>Last run failed at entry %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="120"/>
        <source>Last run skipped %1: another Runlatch was running the job file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="140"/>
        <source>Run failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="150"/>
        <source>%1 at entry %2 of %3: %4</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemError</name>
    <message>
        <location filename="../src/core/SystemErrorWin.cpp" line="30"/>
        <source>A Win32 API function failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/SystemErrorWin.cpp" line="35"/>
        <source>Win32 Error.  Code: %1.
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/SystemErrorPosix.cpp" line="9"/>
        <source>A system function failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/SystemErrorPosix.cpp" line="14"/>
        <source>System Error.  Code: %1.
%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="48"/>
        <source>No mail program could be started to write to %1. Please write to that address from the mail program you use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="51"/>
        <source>No web browser could be started to show %1. Please open that address in the browser you use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="86"/>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="95"/>
        <source>Program icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="96"/>
        <source>The icon of Runlatch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="104"/>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="106"/>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="107"/>
        <source>Build</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="108"/>
        <source>Copyright</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="109"/>
        <source>Trademark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="122"/>
        <source>Send us an e-mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="123"/>
        <source>Opens your mail program to write to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="128"/>
        <source>The Runlatch manual</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="129"/>
        <source>Closes this box and opens the manual, as Help &gt; Contents does</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="134"/>
        <source>Opens the maker&apos;s web site in your browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="167"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="170"/>
        <source>Closes the About box</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="209"/>
        <source>Version: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/about/AboutBox.cpp" line="211"/>
        <source>Build: %1.%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <location filename="../src/app/MainForm.cpp" line="80"/>
        <location filename="../src/app/MainForm.cpp" line="421"/>
        <source>Runlatch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="83"/>
        <location filename="../src/app/MainForm.cpp" line="93"/>
        <source>Processing Activity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="95"/>
        <source>The newest lines of the runs: each program as it starts, and the end of each run. The log file keeps them all.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="130"/>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="132"/>
        <source>&amp;Open Ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="136"/>
        <source>&amp;New Ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="142"/>
        <source>&amp;Process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="144"/>
        <source>S&amp;top Run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="146"/>
        <source>&amp;Save Ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="148"/>
        <source>Save &amp;As Ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="150"/>
        <source>&amp;Export Schedule...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="153"/>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="155"/>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="157"/>
        <source>&amp;Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="159"/>
        <source>&amp;Configure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="161"/>
        <source>&amp;Processes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="163"/>
        <source>&amp;Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="166"/>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="168"/>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="171"/>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="205"/>
        <source>%1 not found!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="222"/>
        <source>Save the job file first: the schedule is exported from it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="234"/>
        <source>Replace the schedule&apos;s files already there?
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="240"/>
        <source>The schedule was written to:
%1

Start it with:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="295"/>
        <source>Job file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="296"/>
        <source>Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="297"/>
        <source>Last run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="336"/>
        <source>Stopping %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="356"/>
        <source>%1 (caught up a run missed during sleep)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.h" line="36"/>
        <source>No run is in progress.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TRunlatchLogForm</name>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="84"/>
        <source>Runlatch Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="90"/>
        <source>Right Click for menu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="99"/>
        <source>Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="101"/>
        <source>Runlatch.log, with the lines runs add as they come; read only. Shift+F10 opens the menu, Ctrl+F finds text.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="107"/>
        <source>The selection is too large to copy (%1 MB). Copy at most %2 MB at a time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="125"/>
        <source>&amp;Find:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="128"/>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="130"/>
        <source>Text to find in the log. Enter finds the next match, Shift+Enter the one before, Escape hides the find bar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="134"/>
        <source>Match &amp;case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="137"/>
        <source>When checked, the letters A to Z match only in the case typed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="138"/>
        <source>&amp;Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="140"/>
        <source>&amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="142"/>
        <source>Finds the match before the selection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="143"/>
        <source>Finds the match after the selection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="148"/>
        <source>Find result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="193"/>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="197"/>
        <source>C&amp;lear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="203"/>
        <source>&amp;Copy	Ctrl+C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="206"/>
        <source>Select &amp;All	Ctrl+A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="223"/>
        <source>&amp;Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="224"/>
        <source>Find &amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="226"/>
        <source>Find &amp;Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="278"/>
        <source>Searching...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="285"/>
        <source>Not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="287"/>
        <source>Wrapped around the end</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.h" line="26"/>
        <source>A run is in progress, so the log was not cleared.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TRunlatchParamForm</name>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="35"/>
        <source>Runlatch Processes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="94"/>
        <source>Right Click for menu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="100"/>
        <source>Process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="100"/>
        <source>Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="109"/>
        <source>Processes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="111"/>
        <source>The programs run one after another, top to bottom, each with its parameters. Alt+Up and Alt+Down move the selected row; Shift+F10 or the Menu key opens the commands.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="158"/>
        <source>Process list commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="159"/>
        <source>&amp;Add Process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="162"/>
        <source>&amp;Change Process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="163"/>
        <source>Change &amp;Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="165"/>
        <source>&amp;Delete Process and Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="168"/>
        <source>C&amp;ancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="170"/>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="245"/>
        <source>Sorry, Runlatch is limited to 50 Processes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="250"/>
        <source>Add Process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="268"/>
        <source>Enter Parameter(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchParamForm.cpp" line="353"/>
        <source>Error in drag/drop.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TRunlatchSchedForm</name>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="113"/>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="119"/>
        <source>The repeat period of %1 hours and %2 minutes is too long: Runlatch can time at most 49 days, 17 hours and 2 minutes (1193 hours and 2 minutes). Nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="162"/>
        <source>Runlatch Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="171"/>
        <source>How Often Do  You Want the Processes to Execute?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="191"/>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="192"/>
        <source>Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="193"/>
        <source>Whole hours of the repeat period. With 0 hours and 0 minutes the processes never run by themselves.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="195"/>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="196"/>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="197"/>
        <source>Whole minutes of the repeat period, added to the hours.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="202"/>
        <source>Do you want to delay the first execution?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="205"/>
        <source>Whether the first timed run waits for the start date and time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="208"/>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="212"/>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="210"/>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="213"/>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="212"/>
        <source>The first timed run comes one repeat period after saving.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="213"/>
        <source>The first timed run waits for the date and time below.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="221"/>
        <source>Starting When?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="235"/>
        <source>Start date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="235"/>
        <source>The day of the delayed first run.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="236"/>
        <source>Start time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="236"/>
        <source>The time of day of the delayed first run.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="244"/>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="245"/>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="247"/>
        <source>Keeps the schedule and gives the repeat timer the new period.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/editors/RunlatchSchedForm.cpp" line="249"/>
        <source>Closes the dialog and leaves the schedule as it was.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TStRegIni</name>
    <message>
        <location filename="../src/config/StRegIni.cpp" line="25"/>
        <source>No Ini File or Primary Key specified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/config/StRegIni.cpp" line="27"/>
        <source>Failed to write value to INI file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/config/StRegIni.cpp" line="29"/>
        <source>Unable to delete section from INI file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/config/StRegIni.cpp" line="143"/>
        <source>Cannot read %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TStVersionInfo</name>
    <message>
        <location filename="../src/version/StVersionInfo.h" line="19"/>
        <source>Error opening file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/version/StVersionInfo.h" line="21"/>
        <source>File does not contain version info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/version/StVersionInfo.h" line="23"/>
        <source>Unable to read version info</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <location filename="../src/app/TrayIcon.cpp" line="16"/>
        <source>Show Runlatch</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WinChildProcess</name>
    <message>
        <location filename="../src/exec/WinChildProcess.cpp" line="213"/>
        <source>The command line for %1 is %2 characters long; the system takes at most %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
