<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>CChartWidget</name>
    <message>
        <source>Export data...</source>
        <translation>Esporta dati...</translation>
    </message>
    <message>
        <source>Show all</source>
        <translation>Mostra tutto</translation>
    </message>
    <message>
        <source>Export data</source>
        <translation>Esporta dati</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>File di testo (*.txt);;Tutti i file (*)</translation>
    </message>
</context>
<context>
    <name>CDesktopOpen</name>
    <message>
        <source>Cannot find &quot;%1&quot;.</source>
        <translation>Impossibile trovare &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>CGUIMain</name>
    <message>
        <source>Surface-wave analysis for site characterisation</source>
        <translation>Analisi delle onde superficiali per la caratterizzazione dei siti</translation>
    </message>
    <message>
        <source>Analyse experimental data</source>
        <translation>Analizza i dati sperimentali</translation>
    </message>
    <message>
        <source>Insert dispersion curve</source>
        <translation>Inserisci la curva di dispersione</translation>
    </message>
    <message>
        <source>Bibliography</source>
        <translation>Bibliografia</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
</context>
<context>
    <name>CGUISteps</name>
    <message>
        <source>Analysis steps</source>
        <translation>Fasi dell&apos;analisi</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Inizio</translation>
    </message>
    <message>
        <source>Experimental data</source>
        <translation>Dati sperimentali</translation>
    </message>
    <message>
        <source>Spectrum</source>
        <translation>Spettro</translation>
    </message>
    <message>
        <source>REMI</source>
        <translation>REMI</translation>
    </message>
    <message>
        <source>Dispersion curve</source>
        <translation>Curva di dispersione</translation>
    </message>
    <message>
        <source>Ground profile</source>
        <translation>Profilo del terreno</translation>
    </message>
    <message>
        <source>Final results</source>
        <translation>Risultati finali</translation>
    </message>
    <message>
        <source>2D Map</source>
        <translation>Mappa 2D</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <source>Bibliography</source>
        <translation>Bibliografia</translation>
    </message>
    <message>
        <source>Schermata non ancora implementata</source>
        <translation>Schermata non ancora implementata</translation>
    </message>
</context>
<context>
    <name>CGridCtrl</name>
    <message>
        <source>Cut</source>
        <translation>Taglia</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copia</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Incolla</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Stampa...</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Untitled</source>
        <translation>Senza nome</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Pronto</translation>
    </message>
    <message>
        <source>&amp;VELA</source>
        <translation>&amp;VELA</translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation>&amp;Nuovo...</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Apri...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salva</translation>
    </message>
    <message>
        <source>Save &amp;as...</source>
        <translation>Salva &amp;con nome...</translation>
    </message>
    <message>
        <source>2D Map</source>
        <translation>Mappa 2D</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Esci</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Strumenti</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Lingua</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation>&amp;Inglese</translation>
    </message>
    <message>
        <source>&amp;Italian</source>
        <translation>&amp;Italiano</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aiuto</translation>
    </message>
    <message>
        <source>What&apos;s new...</source>
        <translation>Novità...</translation>
    </message>
    <message>
        <source>&amp;Check for updates...</source>
        <translation>&amp;Verifica aggiornamenti...</translation>
    </message>
    <message>
        <source>&amp;About VELA...</source>
        <translation>&amp;Informazioni su VELA...</translation>
    </message>
    <message>
        <source>The 2D map is not available in this version of the program yet.</source>
        <translation>La mappa 2D non è ancora disponibile in questa versione del programma.</translation>
    </message>
    <message>
        <source>The current analysis has not been saved. Discard it?</source>
        <translation>L&apos;analisi corrente non è stata salvata. Abbandonarla?</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Apri</translation>
    </message>
    <message>
        <source>VELA Files (*.vla)</source>
        <translation>File VELA (*.vla)</translation>
    </message>
    <message>
        <source>Saving analyses is not available in this version of the program yet.</source>
        <translation>Il salvataggio delle analisi non è ancora disponibile in questa versione del programma.</translation>
    </message>
    <message>
        <source>The current analysis has not been saved. Quit anyway?</source>
        <translation>L&apos;analisi corrente non è stata salvata. Uscire comunque?</translation>
    </message>
    <message>
        <source>Confirm exit</source>
        <translation>Conferma uscita</translation>
    </message>
</context>
<context>
    <name>CMessageBox</name>
    <message>
        <source>Don&apos;t show this message again</source>
        <translation>Non mostrare più questo messaggio</translation>
    </message>
</context>
<context>
    <name>CPlaceholderPage</name>
    <message>
        <source>This page is not available in this version of the program yet.</source>
        <translation>Questa schermata non è ancora disponibile in questa versione del programma.</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Indietro</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Avanti</translation>
    </message>
    <message>
        <source>Experimental data</source>
        <translation>Dati sperimentali</translation>
    </message>
    <message>
        <source>Spectrum</source>
        <translation>Spettro</translation>
    </message>
    <message>
        <source>Passive data (REMI)</source>
        <translation>Dati passivi (REMI)</translation>
    </message>
    <message>
        <source>Dispersion curve</source>
        <translation>Curva di dispersione</translation>
    </message>
    <message>
        <source>Ground profile</source>
        <translation>Profilo del terreno</translation>
    </message>
    <message>
        <source>Final results</source>
        <translation>Risultati finali</translation>
    </message>
</context>
<context>
    <name>CWinQuiverApp</name>
    <message>
        <source>The language file %1 could not be written.</source>
        <translation>Impossibile scrivere il file della lingua %1.</translation>
    </message>
    <message>
        <source>Opening analyses (.vla files) is not available in this version of the program yet:
%1</source>
        <translation>L&apos;apertura delle analisi (file .vla) non è ancora disponibile in questa versione del programma:
%1</translation>
    </message>
    <message>
        <source>%1 was not opened: trace files are opened from the experimental data page.</source>
        <translation>%1 non è stato aperto: i file delle tracce si aprono dalla schermata dei dati sperimentali.</translation>
    </message>
    <message>
        <source>No update page is configured for this installation.</source>
        <translation>Nessuna pagina di aggiornamento è configurata per questa installazione.</translation>
    </message>
    <message>
        <source>VELA version %1

Multichannel analysis of surface waves: dispersion spectrum, dispersion curve, Vs profile, Vs30 and soil category.</source>
        <translation>VELA versione %1

Analisi multicanale delle onde superficiali: spettro di dispersione, curva di dispersione, profilo di Vs, Vs30 e categoria di suolo.</translation>
    </message>
    <message>
        <source>About VELA</source>
        <translation>Informazioni su VELA</translation>
    </message>
</context>
<context>
    <name>CWinQuiverView</name>
    <message>
        <source>Writing the report is not available in this version.</source>
        <translation>La scrittura della relazione non è ancora disponibile in questa versione.</translation>
    </message>
</context>
</TS>
