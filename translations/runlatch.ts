<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" sourcelanguage="en">
<context>
    <name>ActivityLog</name>
    <message>
        <location filename="../src/exec/ActivityLog.cpp" line="23"/>
        <source>File not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/exec/ActivityLog.cpp" line="25"/>
        <source>Access denied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/exec/ActivityLog.cpp" line="27"/>
        <source>Disk full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/exec/ActivityLog.cpp" line="113"/>
        <source>Cannot open file %1</source>
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
        <location filename="../src/config/FileCommands.cpp" line="55"/>
        <source>Sorry, Runlatch is limited to 50 Processes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/config/FileCommands.cpp" line="69"/>
        <source>Ini File (*.ini)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="167"/>
        <source>Search for</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="168"/>
        <source>Words to look for in every topic; Enter searches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="174"/>
        <source>Search results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="73"/>
        <source>Runlatch Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="79"/>
        <source>Find a topic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="80"/>
        <source>The manual&apos;s contents, its index and a full-text search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="86"/>
        <source>Help page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="86"/>
        <source>The topic of the manual shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="126"/>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="126"/>
        <source>The manual&apos;s topics; Enter or a click shows one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="81"/>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="82"/>
        <source>&amp;Index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="83"/>
        <source>&amp;Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="142"/>
        <source>Look for</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="159"/>
        <source>&amp;Look for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="147"/>
        <source>Index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="90"/>
        <source>No program could be started for the link %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="143"/>
        <source>Narrows the index to the keywords that hold what is typed; Enter shows the topic of the one selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="148"/>
        <source>The manual&apos;s keywords; Enter or a double click shows the topic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="175"/>
        <source>The topics that hold the words searched for, best first; a click shows one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="181"/>
        <source>Search &amp;for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="186"/>
        <source>Navigation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="191"/>
        <source>&amp;Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="198"/>
        <source>&amp;Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="203"/>
        <source>C&amp;ontents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="261"/>
        <source>Type one or more words to look for.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="268"/>
        <source>1 match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="268"/>
        <source>%1 matches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="273"/>
        <source>1 topic found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="274"/>
        <source>%1 topics found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="271"/>
        <source>No topic holds every word of &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LogView</name>
    <message>
        <location filename="../src/ui/logview/LogView.cpp" line="355"/>
        <source>Reading the log... %1%</source>
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
        <location filename="../src/app/QtPrompts.cpp" line="75"/>
        <source>The text offered is selected: typing replaces it, OK alone keeps it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="82"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="83"/>
        <source>Uses the text in the field</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="85"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="86"/>
        <source>Leaves everything as it was</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="115"/>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="121"/>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/QtPrompts.cpp" line="127"/>
        <source>Confirm</source>
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
        <location filename="../src/exec/StartAndWait.cpp" line="66"/>
        <source>Unable to find application %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="32"/>
        <source>No job file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="40"/>
        <source>Delayed start at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="43"/>
        <source>Next run at %1 (every %2 h %3 min)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="47"/>
        <source>Idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="52"/>
        <source>Running %1 of %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="60"/>
        <source>Last run completed %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="65"/>
        <source>Last run stopped %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/StatusTexts.cpp" line="70"/>
        <source>Last run failed at entry %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemError</name>
    <message>
        <location filename="../src/exec/SystemError.cpp" line="31"/>
        <source>A Win32 API function failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/exec/SystemError.cpp" line="36"/>
        <source>Win32 Error.  Code: %1.
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/exec/SystemError.cpp" line="58"/>
        <source>A system function failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/exec/SystemError.cpp" line="63"/>
        <source>System Error.  Code: %1.
%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="69"/>
        <source>No mail program could be started to write to %1. Please write to that address from the mail program you use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="73"/>
        <source>No web browser could be started to show %1. Please open that address in the browser you use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="142"/>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="152"/>
        <source>Program icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="153"/>
        <source>The icon of Runlatch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="159"/>
        <source>Logo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="160"/>
        <source>The maker&apos;s logo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="167"/>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="169"/>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="170"/>
        <source>Build</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="171"/>
        <source>Copyright</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="172"/>
        <source>Trademark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="176"/>
        <source>Send us an e-mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="179"/>
        <source>Opens your mail program to write to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="182"/>
        <source>Opens the maker&apos;s web site in your browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="209"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="212"/>
        <source>Closes the About box</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="275"/>
        <source>Version: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/AboutBox.cpp" line="277"/>
        <source>Build: %1.%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <location filename="../src/app/MainForm.cpp" line="87"/>
        <source>Runlatch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="90"/>
        <location filename="../src/app/MainForm.cpp" line="100"/>
        <source>Processing Activity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="102"/>
        <source>The newest lines of the runs: each program as it starts, and the end of each run. The log file keeps them all.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="137"/>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="139"/>
        <source>&amp;Open Ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="141"/>
        <source>&amp;New Ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="144"/>
        <source>&amp;Process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="145"/>
        <source>S&amp;top Run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="147"/>
        <source>&amp;Save Ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="149"/>
        <source>Save &amp;As Ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="152"/>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="154"/>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="156"/>
        <source>&amp;Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="158"/>
        <source>&amp;Configure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="160"/>
        <source>&amp;Processes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="162"/>
        <source>&amp;Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="165"/>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="167"/>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="169"/>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="203"/>
        <source>%1 not found!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="252"/>
        <source>Job file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="253"/>
        <source>Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="254"/>
        <source>Last run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="281"/>
        <source>%1 (caught up a run missed during sleep)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.cpp" line="325"/>
        <source>Ini has been modified, do you wish to save?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/MainForm.h" line="31"/>
        <source>No run is in progress.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TRunlatchLogForm</name>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="42"/>
        <source>Runlatch Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="48"/>
        <source>Right Click for menu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="57"/>
        <source>Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/logview/RunlatchLogForm.cpp" line="101"/>
        <source>Runlatch.log, with the lines runs add as they come; read only. Shift+F10 opens the menu, Ctrl+F finds text.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="65"/>
        <source>The selection is too large to copy (%1 MB). Copy at most %2 MB at a time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="83"/>
        <source>&amp;Find:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="86"/>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="88"/>
        <source>Text to find in the log. Enter finds the next match, Shift+Enter the one before, Escape hides the find bar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="92"/>
        <source>Match &amp;case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="95"/>
        <source>When checked, the letters A to Z match only in the case typed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="96"/>
        <source>&amp;Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="98"/>
        <source>&amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="100"/>
        <source>Finds the match before the selection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="101"/>
        <source>Finds the match after the selection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="106"/>
        <source>Find result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="141"/>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="145"/>
        <source>C&amp;lear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="151"/>
        <source>&amp;Copy	Ctrl+C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="154"/>
        <source>Select &amp;All	Ctrl+A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="171"/>
        <source>&amp;Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="172"/>
        <source>Find &amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="174"/>
        <source>Find &amp;Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="207"/>
        <source>Searching...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="214"/>
        <source>Not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.cpp" line="216"/>
        <source>Wrapped around the end</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchLogForm.h" line="24"/>
        <source>A run is in progress, so the log was not cleared.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TRunlatchParamForm</name>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="35"/>
        <source>Runlatch Processes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="74"/>
        <source>Right Click for menu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="80"/>
        <source>Process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="80"/>
        <source>Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="89"/>
        <source>Processes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="91"/>
        <source>The programs run one after another, top to bottom, each with its parameters. Alt+Up and Alt+Down move the selected row; Shift+F10 or the Menu key opens the commands.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="138"/>
        <source>Process list commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="139"/>
        <source>&amp;Add Process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="142"/>
        <source>&amp;Change Process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="143"/>
        <source>Change &amp;Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="145"/>
        <source>&amp;Delete Process and Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="148"/>
        <source>C&amp;ancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="150"/>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="222"/>
        <source>Sorry, Runlatch is limited to 50 Processes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="239"/>
        <source>Enter Parameter(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchParamForm.cpp" line="324"/>
        <source>Error in drag/drop.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TRunlatchSchedForm</name>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="95"/>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="101"/>
        <source>The repeat period of %1 hours and %2 minutes is too long: Runlatch can time at most 49 days, 17 hours and 2 minutes (1193 hours and 2 minutes). Nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="144"/>
        <source>Runlatch Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="153"/>
        <source>How Often Do  You Want the Processes to Execute?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="173"/>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="174"/>
        <source>Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="175"/>
        <source>Whole hours of the repeat period. With 0 hours and 0 minutes the processes never run by themselves.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="177"/>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="178"/>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="179"/>
        <source>Whole minutes of the repeat period, added to the hours.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="184"/>
        <source>Do you want to delay the first execution?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="187"/>
        <source>Whether the first timed run waits for the start date and time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="190"/>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="194"/>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="192"/>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="195"/>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="194"/>
        <source>The first timed run comes one repeat period after saving.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="195"/>
        <source>The first timed run waits for the date and time below.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="203"/>
        <source>Starting When?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="217"/>
        <source>Start date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="217"/>
        <source>The day of the delayed first run.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="218"/>
        <source>Start time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="218"/>
        <source>The time of day of the delayed first run.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="226"/>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="227"/>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="229"/>
        <source>Keeps the schedule and gives the repeat timer the new period.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/RunlatchSchedForm.cpp" line="231"/>
        <source>Closes the dialog and leaves the schedule as it was.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TStRegIni</name>
    <message>
        <location filename="../src/config/StRegIni.cpp" line="24"/>
        <source>No Ini File or Primary Key specified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/config/StRegIni.cpp" line="26"/>
        <source>Failed to write value to INI file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/config/StRegIni.cpp" line="28"/>
        <source>Unable to delete section from INI file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/config/StRegIni.cpp" line="142"/>
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
    <name>WinChildProcess</name>
    <message>
        <location filename="../src/exec/WinChildProcess.cpp" line="170"/>
        <source>The command line for %1 is %2 characters long; the system takes at most %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
