<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>CChartWidget</name>
    <message>
        <source>Export data...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDesktopOpen</name>
    <message>
        <source>Cannot find &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CGUIMain</name>
    <message>
        <source>Surface-wave analysis for site characterisation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyse experimental data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert dispersion curve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bibliography</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CGUISteps</name>
    <message>
        <source>Analysis steps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Experimental data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spectrum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>REMI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dispersion curve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ground profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Final results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2D Map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bibliography</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schermata non ancora implementata</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;VELA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;as...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2D Map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Italian</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What&apos;s new...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Check for updates...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About VELA...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The 2D map is not available in this version of the program yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The current analysis has not been saved. Discard it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VELA Files (*.vla)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving analyses is not available in this version of the program yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The current analysis has not been saved. Quit anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm exit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMessageBox</name>
    <message>
        <source>Don&apos;t show this message again</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPlaceholderPage</name>
    <message>
        <source>This page is not available in this version of the program yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Experimental data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spectrum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Passive data (REMI)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dispersion curve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ground profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Final results</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CWinQuiverApp</name>
    <message>
        <source>The language file %1 could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opening analyses (.vla files) is not available in this version of the program yet:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not opened: trace files are opened from the experimental data page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No update page is configured for this installation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VELA version %1

Multichannel analysis of surface waves: dispersion spectrum, dispersion curve, Vs profile, Vs30 and soil category.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About VELA</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CWinQuiverView</name>
    <message>
        <source>Writing the report is not available in this version.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
