<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>ActiveDataForm</name>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="64"/>
        <source>Data file not loaded</source>
        <translation>File dei dati non caricato</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="75"/>
        <source>Insert source depth</source>
        <translation>Inserire la profondità della sorgente</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="76"/>
        <source>Source depth must be positive</source>
        <translation>La profondità della sorgente deve essere positiva</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="78"/>
        <source>Insert receivers depth</source>
        <translation>Inserire la profondità dei ricevitori</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="79"/>
        <source>Receivers depth must be positive</source>
        <translation>La profondità dei ricevitori deve essere positiva</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="81"/>
        <source>Insert distance between two consecutive receivers</source>
        <translation>Inserire la distanza tra due ricevitori consecutivi</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="83"/>
        <source>Distance between two consecutive receivers must be positive</source>
        <translation>La distanza tra due ricevitori consecutivi deve essere positiva</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="86"/>
        <source>Insert time step</source>
        <translation>Inserire il passo temporale</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="87"/>
        <source>The time step must be positive</source>
        <translation>Il passo temporale deve essere positivo</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="89"/>
        <source>Insert total time</source>
        <translation>Inserire il tempo finale</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="90"/>
        <source>Total time must be positive</source>
        <translation>Il tempo finale deve essere positivo</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="92"/>
        <source>Insert initial time</source>
        <translation>Inserire il tempo iniziale</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="93"/>
        <source>Initial time must be positive</source>
        <translation>Il tempo iniziale deve essere positivo</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="107"/>
        <source>The time step must be greater than zero</source>
        <translation>Il passo temporale deve essere maggiore di zero</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="136"/>
        <source>Total time must be greater than initial time</source>
        <translation>Il tempo finale deve essere maggiore del tempo iniziale</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="147"/>
        <source>The source offset must be a distance of at least 0 m (empty: one spacing)</source>
        <translation>La distanza della sorgente deve essere di almeno 0 m (vuota: una spaziatura)</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="163"/>
        <source>Use at least one receiver</source>
        <translation>Usare almeno un ricevitore</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="171"/>
        <source>Use at most %1 receivers</source>
        <translation>Usare al massimo %1 ricevitori</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="177"/>
        <source>Errors:</source>
        <translation>Errori:</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="272"/>
        <source>Invald step</source>
        <translation>Passo non valido</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="273"/>
        <source>Invalid valuee</source>
        <translation>Valore non valido</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="386"/>
        <source>Traces file name</source>
        <translation>Nome del file delle tracce</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="387"/>
        <source>Number of sensors</source>
        <translation>Numero di sensori</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="389"/>
        <location filename="../data/CGUIRispostaSperimentaleP.cpp" line="78"/>
        <source>Sensors distance:</source>
        <translation>Distanza tra i sensori:</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="391"/>
        <source>Number of time samples</source>
        <translation>Numero di campioni temporali</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="393"/>
        <source>Acquisition timestep</source>
        <translation>Passo temporale di acquisizione</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="396"/>
        <source>Number of sensors used for the analysis</source>
        <translation>Numero di sensori usati per l&apos;analisi</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="398"/>
        <source>The interval considered for the analysis starts at</source>
        <translation>L&apos;intervallo considerato per l&apos;analisi inizia a</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="401"/>
        <source>The interval considered for the analysis ends at</source>
        <translation>L&apos;intervallo considerato per l&apos;analisi finisce a</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="404"/>
        <source>Sensors are reverted (the last one in the file is the fist one for the analysis)</source>
        <translation>I sensori sono invertiti (l&apos;ultimo nel file è il primo per l&apos;analisi)</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="407"/>
        <source>Sensors are not reverted (the last one in the file is the last one for the analysis)</source>
        <translation>I sensori non sono invertiti (l&apos;ultimo nel file è l&apos;ultimo per l&apos;analisi)</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="167"/>
        <source>Use at least two receivers</source>
        <translation>Usare almeno due ricevitori</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="189"/>
        <source>spacing %1 m</source>
        <translation>spaziatura %1 m</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="196"/>
        <source>source %1 m from the first receiver but %2 m from the last one</source>
        <translation>sorgente a %1 m dal primo ricevitore ma a %2 m dall&apos;ultimo</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="200"/>
        <source>source %1 m from the first receiver</source>
        <translation>sorgente a %1 m dal primo ricevitore</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="205"/>
        <source>trigger at %1 ms</source>
        <translation>trigger a %1 ms</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="208"/>
        <source>first sample %1 ms after the trigger</source>
        <translation>primo campione %1 ms dopo il trigger</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="213"/>
        <source>from the file: %1</source>
        <translation>dal file: %1</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="220"/>
        <source>The file carries no time step: the time step in force, %1 ms, was kept. Please type the time step used in the field.</source>
        <translation>Il file non riporta il passo di campionamento: è stato mantenuto quello in uso, %1 ms. Inserire il passo di campionamento usato in campagna.</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataForm.cpp" line="225"/>
        <source>The time step read from the file is %1 ms, taking the file&apos;s times in %2. If the file uses another unit, please correct the time step.</source>
        <translation>Il passo di campionamento letto dal file è %1 ms, considerando i tempi del file in %2. Se il file usa un&apos;altra unità, correggere il passo di campionamento.</translation>
    </message>
</context>
<context>
    <name>CChartWidget</name>
    <message>
        <location filename="../chart/CChartWidget.cpp" line="316"/>
        <source>Export data...</source>
        <translation>Esporta dati...</translation>
    </message>
    <message>
        <location filename="../chart/CChartWidget.cpp" line="317"/>
        <source>Show all</source>
        <translation>Mostra tutto</translation>
    </message>
    <message>
        <location filename="../chart/CChartWidget.cpp" line="324"/>
        <source>Export data</source>
        <translation>Esporta dati</translation>
    </message>
    <message>
        <location filename="../chart/CChartWidget.cpp" line="324"/>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>File di testo (*.txt);;Tutti i file (*)</translation>
    </message>
</context>
<context>
    <name>CDesktopOpen</name>
    <message>
        <location filename="../page/CDesktopOpen.cpp" line="34"/>
        <source>Cannot find &quot;%1&quot;.</source>
        <translation>Impossibile trovare &quot;%1&quot;.</translation>
    </message>
    <message>
        <location filename="../page/CDesktopOpen.cpp" line="43"/>
        <source>No program on this system opens &quot;%1&quot;. Install a viewer for this kind of document, or open the file yourself.</source>
        <translation>Nessun programma di questo sistema apre &quot;%1&quot;. Installare un visualizzatore per questo tipo di documento, oppure aprire il file direttamente.</translation>
    </message>
    <message>
        <location filename="../page/CDesktopOpen.cpp" line="60"/>
        <source>.</source>
        <comment>subfolder of the help documents</comment>
        <translation>it</translation>
    </message>
</context>
<context>
    <name>CDialog2DMap</name>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="27"/>
        <source>2D VELA</source>
        <translation>VELA 2D</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="33"/>
        <source>Add...</source>
        <translation>Aggiungi...</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="35"/>
        <source>Move up</source>
        <translation>Sposta su</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="36"/>
        <source>Move down</source>
        <translation>Sposta giù</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="37"/>
        <source>Draw</source>
        <translation>Disegna</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="39"/>
        <source>Export...</source>
        <translation>Esporta...</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="42"/>
        <source>Traces</source>
        <translation>Tracce</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="44"/>
        <source>Files:</source>
        <translation>File:</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="54"/>
        <source>Distance between traces</source>
        <translation>Distanza tra le tracce</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="55"/>
        <source>Please specify the distance between the traces</source>
        <translation>Specificare la distanza tra le tracce</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="62"/>
        <source>Distance between traces [m]</source>
        <translation>Distanza tra le tracce [m]</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="73"/>
        <source>Position [m]</source>
        <translation>Posizione [m]</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="74"/>
        <source>Depth [m]</source>
        <translation>Profondità [m]</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="184"/>
        <location filename="../spectrum/CDialog2DMap.cpp" line="228"/>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="228"/>
        <source>The report could not be written to %1</source>
        <translation>Impossibile scrivere la relazione in %1</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="238"/>
        <source>VELA Files (*.vla);;Text Files (*.txt)</source>
        <translation>File VELA (*.vla);;File di testo (*.txt)</translation>
    </message>
    <message>
        <location filename="../spectrum/CDialog2DMap.cpp" line="248"/>
        <source>Rich Text Format (*.rtf)</source>
        <translation>Rich Text Format (*.rtf)</translation>
    </message>
</context>
<context>
    <name>CDialogAutomatica</name>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="39"/>
        <source>Automatic search</source>
        <translation>Ricerca automatica</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="54"/>
        <source>Search stopped after current iteration</source>
        <translation>Ricerca interrotta dopo l&apos;iterazione corrente</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="57"/>
        <source>Stop search</source>
        <translation>Interrompi la ricerca</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="58"/>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="66"/>
        <source>Iterations</source>
        <translation>Iterazioni</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="67"/>
        <source>Error [%]</source>
        <translation>Errore [%]</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="77"/>
        <source>%v of %m starts ended</source>
        <translation>%v di %m partenze concluse</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="217"/>
        <source>Conditions to stop the search: error &lt;=%1% or at least 1 iteration or convergence reached</source>
        <translation>Condizioni di arresto della ricerca: errore &lt;=%1% oppure almeno 1 iterazione oppure convergenza raggiunta</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="220"/>
        <source>Conditions to stop the search: error &lt;=%1% or maximum number %2 of iterations or convergence reached</source>
        <translation>Condizioni di arresto della ricerca: errore &lt;=%1% oppure numero massimo %2 di iterazioni oppure convergenza raggiunta</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="225"/>
        <source>Starting automatic search...</source>
        <translation>Avvio della ricerca automatica...</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="230"/>
        <source>     Preliminar operations...</source>
        <translation>     Operazioni preliminari...</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="233"/>
        <source>     Operation 4...</source>
        <translation>     Operazione 4...</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="236"/>
        <source>     Operation 3...</source>
        <translation>     Operazione 3...</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="239"/>
        <source>     Operation 1...</source>
        <translation>     Operazione 1...</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="242"/>
        <source>     Operation 2...</source>
        <translation>     Operazione 2...</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="245"/>
        <source>Starting optimization...</source>
        <translation>Avvio dell&apos;ottimizzazione...</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="248"/>
        <source>Starting iteration</source>
        <translation>Inizio iterazione</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="251"/>
        <source>Starting sub step</source>
        <translation>Inizio sottopasso</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="252"/>
        <source>Last iteration: %1, last sub step: %2</source>
        <translation>Ultima iterazione: %1, ultimo sottopasso: %2</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="262"/>
        <source>Best error: %1%</source>
        <translation>Errore migliore: %1%</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="264"/>
        <source>End sub step</source>
        <translation>Fine sottopasso</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="265"/>
        <source>   Error at current step:%1%</source>
        <translation>   Errore al passo corrente:%1%</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="396"/>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="276"/>
        <source>End of optimization</source>
        <translation>Fine dell&apos;ottimizzazione</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="279"/>
        <location filename="../profile/CDialogAutomatica.cpp" line="445"/>
        <source>End of automatic search</source>
        <translation>Fine della ricerca automatica</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="284"/>
        <location filename="../profile/CDialogAutomatica.cpp" line="302"/>
        <location filename="../profile/CDialogAutomatica.cpp" line="343"/>
        <location filename="../profile/CDialogAutomatica.cpp" line="426"/>
        <source>Remaining time: search terminated</source>
        <translation>Tempo rimanente: ricerca terminata</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="288"/>
        <source>Refining solution</source>
        <translation>Raffinamento della soluzione</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="291"/>
        <source>End of solution refinement</source>
        <translation>Fine del raffinamento della soluzione</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="295"/>
        <source>End of iteration</source>
        <translation>Fine iterazione</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="305"/>
        <source>===Profile found within given error ===</source>
        <translation>===Profilo trovato entro l&apos;errore dato ===</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="308"/>
        <source>===Profile found after given maximum number of iterations===</source>
        <translation>===Profilo trovato dopo il numero massimo di iterazioni dato===</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="311"/>
        <location filename="../profile/CDialogAutomatica.cpp" line="432"/>
        <source>===Search stopped by user===</source>
        <translation>===Ricerca interrotta dall&apos;utente===</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="315"/>
        <location filename="../profile/CDialogAutomatica.cpp" line="316"/>
        <source>Search stopped : failure in search of modes</source>
        <translation>Ricerca interrotta : errore nella ricerca dei modi</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="321"/>
        <source>Local minimum found</source>
        <translation>Trovato un minimo locale</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="336"/>
        <source>Failure searching optimal profile</source>
        <translation>Errore nella ricerca del profilo ottimale</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="339"/>
        <source>The search was canceled due to an unknown problem</source>
        <translation>La ricerca è stata annullata per un problema sconosciuto</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="360"/>
        <source>Starting automatic search from %1 starts...</source>
        <translation>Avvio della ricerca automatica da %1 partenze...</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="369"/>
        <source>Start %1 of %2 ended; best normalised error so far: %3</source>
        <translation>Partenza %1 di %2 conclusa; miglior errore normalizzato finora: %3</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="373"/>
        <source>Best normalised error: %1</source>
        <translation>Miglior errore normalizzato: %1</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="377"/>
        <source>Starts ended</source>
        <translation>Partenze concluse</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="378"/>
        <source>Best normalised error</source>
        <translation>Miglior errore normalizzato</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="440"/>
        <source>===Search stopped by user: the best profile found so far is kept===</source>
        <translation>===Ricerca interrotta dall&apos;utente: si conserva il miglior profilo trovato finora===</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="441"/>
        <source>===Best profile of %1 starts found===</source>
        <translation>===Trovato il miglior profilo di %1 partenze===</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="444"/>
        <source>Warning</source>
        <translation>Attenzione</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="475"/>
        <source>Stopping: the starts under way end and the best profile so far is kept</source>
        <translation>Interruzione: le partenze in corso terminano e si conserva il miglior profilo trovato finora</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="492"/>
        <source>Remaining time: %1 H:%2 m</source>
        <translation>Tempo rimanente: %1 H:%2 m</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="495"/>
        <source>Remaining time: less than 15 minutes</source>
        <translation>Tempo rimanente: meno di 15 minuti</translation>
    </message>
    <message>
        <location filename="../profile/CDialogAutomatica.cpp" line="500"/>
        <source>Elapsed time: %1 H:%2 m:%3 s</source>
        <translation>Tempo trascorso: %1 H:%2 m:%3 s</translation>
    </message>
</context>
<context>
    <name>CExcelAccess</name>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="83"/>
        <source>the workbook cannot be read as an Excel file</source>
        <translation>la cartella di lavoro non può essere letta come file Excel</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="90"/>
        <location filename="../data/CExcelAccess.cpp" line="98"/>
        <source>the workbook&apos;s sheets cannot be listed</source>
        <translation>non è possibile elencare i fogli della cartella di lavoro</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="113"/>
        <source>the sheet cannot be read</source>
        <translation>il foglio non può essere letto</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="121"/>
        <source>cell %1 of row %2 cannot be read</source>
        <translation>la cella %1 della riga %2 non può essere letta</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="196"/>
        <location filename="../data/CExcelAccess.cpp" line="364"/>
        <source>the file is not an Excel workbook</source>
        <translation>il file non è una cartella di lavoro Excel</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="225"/>
        <source>the workbook&apos;s sheet list is damaged</source>
        <translation>l&apos;elenco dei fogli della cartella di lavoro è danneggiato</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="284"/>
        <source>the sheet&apos;s data cannot be found in the workbook</source>
        <translation>i dati del foglio non si trovano nella cartella di lavoro</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="340"/>
        <source>the sheet&apos;s data are damaged (%1)</source>
        <translation>i dati del foglio sono danneggiati (%1)</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="355"/>
        <source>the workbook cannot be opened (%1)</source>
        <translation>la cartella di lavoro non può essere aperta (%1)</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="382"/>
        <source>the workbook has no sheet named &quot;%1&quot; (its sheets: %2)</source>
        <translation>la cartella di lavoro non ha un foglio di nome &quot;%1&quot; (i suoi fogli: %2)</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="398"/>
        <location filename="../data/CExcelAccess.cpp" line="490"/>
        <source>the workbook cannot be unpacked</source>
        <translation>la cartella di lavoro non può essere decompressa</translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="420"/>
        <location filename="../data/CExcelAccess.cpp" line="436"/>
        <location filename="../data/CExcelAccess.cpp" line="497"/>
        <source>Database error: </source>
        <translation>Errore del database: </translation>
    </message>
    <message>
        <location filename="../data/CExcelAccess.cpp" line="437"/>
        <source>the sheet is wider than Excel allows</source>
        <translation>il foglio è più largo di quanto Excel consenta</translation>
    </message>
</context>
<context>
    <name>CGUICurvaDispersione</name>
    <message>
        <location filename="../curve/CCurveTable.cpp" line="33"/>
        <source>Freq. [Hz]</source>
        <translation>Freq. [Hz]</translation>
    </message>
    <message>
        <location filename="../curve/CCurveTable.cpp" line="35"/>
        <source>V. fase [m/s]</source>
        <translation>V. fase [m/s]</translation>
    </message>
    <message>
        <location filename="../curve/CCurveTable.cpp" line="36"/>
        <source>V. fase min [m/s]</source>
        <translation>V. fase min [m/s]</translation>
    </message>
    <message>
        <location filename="../curve/CCurveTable.cpp" line="37"/>
        <source>V. fase Max [m/s]</source>
        <translation>V. fase Max [m/s]</translation>
    </message>
    <message>
        <location filename="../curve/CCurveTable.cpp" line="203"/>
        <location filename="../curve/CurveTable.cpp" line="308"/>
        <location filename="../curve/CurveTable.cpp" line="333"/>
        <source>Error during writing</source>
        <translation>Errore durante la scrittura</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="50"/>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="53"/>
        <source>Text file (*.txt)</source>
        <translation>File di testo (*.txt)</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="50"/>
        <source>Excel file (*.xls *.xlsx)</source>
        <translation>File Excel (*.xls *.xlsx)</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="54"/>
        <source>Excel file (*.xlsx)</source>
        <translation>File Excel (*.xlsx)</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="57"/>
        <source>Save as...</source>
        <translation>Salva con nome...</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="62"/>
        <source>Values of the dispersion curve</source>
        <translation>Valori della curva di dispersione</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="65"/>
        <source>Values can be introduced by hand, read from a file or pasted by hand</source>
        <translation>I valori possono essere inseriti a mano, letti da un file o incollati a mano</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="78"/>
        <source>Chart</source>
        <translation>Grafico</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="81"/>
        <source>Piano f-v</source>
        <translation>Piano f-v</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="83"/>
        <source>Piano f-p</source>
        <translation>Piano f-p</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="105"/>
        <source>Drag vertically with the left button to add a point with its velocity range</source>
        <translation>Trascinare in verticale con il tasto sinistro per aggiungere un punto con il suo intervallo di velocità</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="109"/>
        <source>Previous</source>
        <translation>Indietro</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="111"/>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="113"/>
        <source>Next</source>
        <translation>Avanti</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="139"/>
        <source>New table</source>
        <translation>Nuova tabella</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="140"/>
        <source>Import</source>
        <translation>Importa</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="141"/>
        <source>Save as</source>
        <translation>Salva con nome</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="143"/>
        <source>Print</source>
        <translation>Stampa</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="146"/>
        <source>Cut</source>
        <translation>Taglia</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="150"/>
        <source>Copy</source>
        <translation>Copia</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="151"/>
        <source>Paste</source>
        <translation>Incolla</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="152"/>
        <source>Clear the selected cells</source>
        <translation>Svuota le celle selezionate</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="159"/>
        <source>Automatic points from the spectrum</source>
        <translation>Punti automatici dallo spettro</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="161"/>
        <source>Delete the selected rows</source>
        <translation>Elimina le righe selezionate</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="174"/>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="293"/>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="314"/>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="321"/>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="336"/>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="385"/>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="387"/>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="192"/>
        <location filename="../curve/CurveChart.cpp" line="24"/>
        <source>Experimental dispersion curve</source>
        <translation>Curva di dispersione sperimentale</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="193"/>
        <source>f [Hz]</source>
        <translation>f [Hz]</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="194"/>
        <source>v [m/s]</source>
        <translation>v [m/s]</translation>
    </message>
    <message>
        <location filename="../curve/CurveChart.cpp" line="25"/>
        <source>Frequency [Hz]</source>
        <translation>Frequenza [Hz]</translation>
    </message>
    <message>
        <location filename="../curve/CurveChart.cpp" line="27"/>
        <source>Phase velocity  [m/s]</source>
        <translation>Velocità di fase  [m/s]</translation>
    </message>
    <message>
        <location filename="../curve/CurveChart.cpp" line="28"/>
        <source>Reciprocal phase velocity [s/m]*1000</source>
        <translation>Inverso della velocità di fase [s/m]*1000</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="321"/>
        <source>Function not available</source>
        <translation>Funzione non disponibile</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="336"/>
        <location filename="../curve/CurveTable.cpp" line="90"/>
        <source>Frequency already present!</source>
        <translation>Frequenza già presente!</translation>
    </message>
    <message>
        <location filename="../curve/CGUICurvaDispersione.cpp" line="387"/>
        <source>Verify input data</source>
        <translation>Verificare i dati di ingresso</translation>
    </message>
    <message>
        <location filename="../curve/CurveTable.cpp" line="117"/>
        <source>Input parameters are needed in the table</source>
        <translation>Sono necessari i parametri di ingresso nella tabella</translation>
    </message>
    <message>
        <location filename="../curve/CurveTable.cpp" line="127"/>
        <source>Minimum velocity must be lower than maximum velocity</source>
        <translation>La velocità minima deve essere minore della velocità massima</translation>
    </message>
    <message>
        <location filename="../curve/CurveTable.cpp" line="131"/>
        <source>Velocity must not be lower than its minimum velocity</source>
        <translation>La velocità minima deve essere minore della velocità media</translation>
    </message>
    <message>
        <location filename="../curve/CurveTable.cpp" line="135"/>
        <source>Maximum velocity must be greater than medium velocity</source>
        <translation>La velocità massima deve essere maggiore della velocità media</translation>
    </message>
    <message>
        <location filename="../curve/CurveTable.cpp" line="139"/>
        <source>Frequency must be positive</source>
        <translation>La frequenza deve essere positiva</translation>
    </message>
    <message>
        <location filename="../curve/CurveTable.cpp" line="225"/>
        <source>Couldn&apos;t open source file</source>
        <translation>Impossibile aprire il file sorgente</translation>
    </message>
    <message>
        <location filename="../curve/CurveTable.cpp" line="246"/>
        <source>Format not valid</source>
        <translation>Formato non valido</translation>
    </message>
    <message>
        <location filename="../curve/CurveTable.cpp" line="268"/>
        <source>Error during reading</source>
        <translation>Errore durante la lettura</translation>
    </message>
    <message>
        <location filename="../curve/CurveTable.cpp" line="273"/>
        <source>The sheet must hold exactly four columns: frequency, velocity, minimum and maximum velocity</source>
        <translation>Il foglio deve contenere esattamente quattro colonne: frequenza, velocità, velocità minima e massima</translation>
    </message>
    <message>
        <location filename="../curve/CurveChart.cpp" line="81"/>
        <location filename="../curve/CurveChart.cpp" line="82"/>
        <location filename="../curve/CurveChart.cpp" line="85"/>
        <source>Dispersion curve</source>
        <translation>Curva di dispersione</translation>
    </message>
</context>
<context>
    <name>CGUIMain</name>
    <message>
        <location filename="../shell/CGUIMain.cpp" line="51"/>
        <source>Surface-wave analysis for site characterisation</source>
        <translation>Analisi delle onde superficiali per la caratterizzazione dei siti</translation>
    </message>
    <message>
        <location filename="../shell/CGUIMain.cpp" line="77"/>
        <source>Analyse experimental data</source>
        <translation>Analizza i dati sperimentali</translation>
    </message>
    <message>
        <location filename="../shell/CGUIMain.cpp" line="78"/>
        <source>Insert dispersion curve</source>
        <translation>Inserisci la curva di dispersione</translation>
    </message>
    <message>
        <location filename="../shell/CGUIMain.cpp" line="87"/>
        <source>Bibliography</source>
        <translation>Bibliografia</translation>
    </message>
    <message>
        <location filename="../shell/CGUIMain.cpp" line="93"/>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
</context>
<context>
    <name>CGUIProfiloIniziale</name>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="47"/>
        <source>Text file (*.txt)|*.txt|</source>
        <translation>File di testo (*.txt)|*.txt|</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="69"/>
        <source>Text file (*.txt)</source>
        <translation>File di testo (*.txt)</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="83"/>
        <source>Yes</source>
        <translation>SI</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="83"/>
        <source>No</source>
        <translation>NO</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="98"/>
        <source>New</source>
        <translation>Nuovo</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="99"/>
        <source>Open</source>
        <translation>Apri</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="100"/>
        <source>Save</source>
        <translation>Salva</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="101"/>
        <source>Print</source>
        <translation>Stampa</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="102"/>
        <source>Cut</source>
        <translation>Taglia</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="107"/>
        <source>Copy</source>
        <translation>Copia</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="108"/>
        <source>Paste</source>
        <translation>Incolla</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="116"/>
        <source>Parameters</source>
        <translation>Parametri</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="130"/>
        <source>Allow strong stiffness contrasts</source>
        <translation>Consenti forti contrasti di rigidezza</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="134"/>
        <source>1 (from the table)</source>
        <translation>1 (dalla tabella)</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="142"/>
        <location filename="../profile/ProfileReport.cpp" line="47"/>
        <source>Number of layers (half-space excluded)</source>
        <translation>Numero di strati (semispazio escluso)</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="143"/>
        <location filename="../profile/ProfileReport.cpp" line="49"/>
        <source>Receivers spacing [m]</source>
        <translation>Distanza tra i ricevitori [m]</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="144"/>
        <location filename="../profile/ProfileReport.cpp" line="51"/>
        <source>Number of receivers</source>
        <translation>Numero di ricevitori</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="145"/>
        <location filename="../profile/ProfileReport.cpp" line="53"/>
        <source>Number of modes</source>
        <translation>Numero di modi</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="146"/>
        <location filename="../profile/ProfileReport.cpp" line="56"/>
        <source>Number of iterations</source>
        <translation>Numero di iterazioni</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="147"/>
        <location filename="../profile/ProfileReport.cpp" line="58"/>
        <source>Maximum error [%]</source>
        <translation>Errore massimo [%]</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="148"/>
        <source>Starts of the automatic search</source>
        <translation>Partenze della ricerca automatica</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="150"/>
        <source>Trial and error solution</source>
        <translation>Soluzione per tentativi</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="152"/>
        <source>Automatic inversion</source>
        <translation>Inversione automatica</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="167"/>
        <location filename="../profile/ProfileCharts.cpp" line="56"/>
        <source>Experimental</source>
        <translation>Sperimentale</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="168"/>
        <source>Modes of Rayleigh</source>
        <translation>Modi di Rayleigh</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="169"/>
        <location filename="../profile/ProfileCharts.cpp" line="112"/>
        <source>Apparent</source>
        <translation>Apparente</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="170"/>
        <location filename="../profile/ProfileCharts.cpp" line="119"/>
        <source>Effective</source>
        <translation>Effettiva</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="182"/>
        <source>No uncertainty curve</source>
        <translation>Nessuna curva di incertezza</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="182"/>
        <source>0.1 sigma (8%)</source>
        <translation>0.1 sigma (8%)</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="183"/>
        <source>0.5 sigma (40%)</source>
        <translation>0.5 sigma (40%)</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="183"/>
        <source>1 sigma (66%)</source>
        <translation>1 sigma (66%)</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="183"/>
        <source>Ensemble band (10-90%)</source>
        <translation>Banda dell&apos;insieme (10-90%)</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="197"/>
        <source>&lt; Previous</source>
        <translation>&lt; Indietro</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="198"/>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="199"/>
        <source>Next &gt;</source>
        <translation>Avanti &gt;</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="268"/>
        <source>Uncorrect input parameters</source>
        <translation>Parametri di input non corretti</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="271"/>
        <source>Receivers distance must be positive</source>
        <translation>La distanza tra i ricevitori deve essere positiva</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="277"/>
        <source>Receivers depth must be positive</source>
        <translation>La profondità dei ricevitori deve essere positiva</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="283"/>
        <source>Some fields of the table are missing!</source>
        <translation>Mancano alcuni campi della tabella!</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="322"/>
        <source>The computation failed: %1</source>
        <translation>Il calcolo non è riuscito: %1</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="463"/>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <location filename="../profile/CGUIProfiloIniziale.cpp" line="480"/>
        <source>The file %1 could not be written: %2</source>
        <translation>Non è stato possibile scrivere il file %1: %2</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="112"/>
        <source>Layer</source>
        <translation>Strato</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="113"/>
        <source>Description</source>
        <translation>Descrizione</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="114"/>
        <location filename="../profile/ProfileReport.cpp" line="72"/>
        <source>h [m]</source>
        <translation>h [m]</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="115"/>
        <location filename="../profile/ProfileReport.cpp" line="73"/>
        <source>z [m]</source>
        <translation>z [m]</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="116"/>
        <location filename="../profile/ProfileReport.cpp" line="74"/>
        <source>Density [kg/m^3]</source>
        <translation>Densità [kg/m^3]</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="117"/>
        <source>Water table</source>
        <translation>Falda</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="118"/>
        <location filename="../profile/ProfileReport.cpp" line="76"/>
        <source>Poisson</source>
        <translation>Poisson</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="119"/>
        <location filename="../profile/ProfileReport.cpp" line="77"/>
        <source>Vs [m/s]</source>
        <translation>Vs [m/s]</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="120"/>
        <source>Vs fixed</source>
        <translation>Vs fissa</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="121"/>
        <location filename="../profile/ProfileReport.cpp" line="83"/>
        <source>Vs min [m/s]</source>
        <translation>Vs min [m/s]</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="122"/>
        <location filename="../profile/ProfileReport.cpp" line="85"/>
        <source>Vs max [m/s]</source>
        <translation>Vs max [m/s]</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="123"/>
        <location filename="../profile/ProfileReport.cpp" line="78"/>
        <source>Vp [m/s]</source>
        <translation>Vp [m/s]</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="124"/>
        <source>Alluvional</source>
        <translation>Alluvionale</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="125"/>
        <location filename="../profile/ProfileReport.cpp" line="96"/>
        <source>Vs fin.[m/s]</source>
        <translation>Vs fin.[m/s]</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="445"/>
        <source>Cannot open the file %1</source>
        <translation>Impossibile aprire il file %1</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="462"/>
        <source>Too many layers</source>
        <translation>Troppi strati</translation>
    </message>
    <message>
        <location filename="../profile/CProfileTable.cpp" line="467"/>
        <source>Insufficient number of layers!</source>
        <translation>Numero di strati insufficiente!</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="49"/>
        <source>Frequency [Hz]</source>
        <translation>Frequenza [Hz]</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="50"/>
        <source>Phase velocity  [m/s]</source>
        <translation>Velocità di fase  [m/s]</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="91"/>
        <source>Mode %1</source>
        <translation>Modo %1</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="129"/>
        <source>Vertical shear wave velocity</source>
        <translation>Velocità delle onde di taglio verticale</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="130"/>
        <source>v [m/s]</source>
        <translation>v [m/s]</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="131"/>
        <source>Depth [m]</source>
        <translation>Profondità [m]</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="143"/>
        <source>Initial Vs</source>
        <translation>Vs iniziale</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="149"/>
        <source>Final Vs</source>
        <translation>Vs finale</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="155"/>
        <source>Ensemble 10%</source>
        <translation>Insieme 10%</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="156"/>
        <source>Ensemble median</source>
        <translation>Mediana dell&apos;insieme</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="157"/>
        <source>Ensemble 90%</source>
        <translation>Insieme 90%</translation>
    </message>
    <message>
        <location filename="../profile/ProfileCharts.cpp" line="178"/>
        <location filename="../profile/ProfileCharts.cpp" line="184"/>
        <source>Uncertainty</source>
        <translation>Incertezza</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="17"/>
        <source>Numerical Vs profile</source>
        <translation>Profilo numerico di Vs</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="18"/>
        <source>Numerical Vs profile; uncertainty 0.1 sigma</source>
        <translation>Profilo numerico di Vs; incertezza 0.1 sigma</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="19"/>
        <source>Numerical Vs profile; uncertainty 0.5 sigma</source>
        <translation>Profilo numerico di Vs; incertezza 0.5 sigma</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="20"/>
        <source>Numerical Vs profile; uncertainty 1 sigma</source>
        <translation>Profilo numerico di Vs; incertezza 1 sigma</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="23"/>
        <source>Velocity</source>
        <translation>Velocità</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="24"/>
        <source>Velocity; incertezza 0.1 sigma</source>
        <translation>Velocità; incertezza 0.1 sigma</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="25"/>
        <source>Velocity; incertezza 0.5 sigma</source>
        <translation>Velocità; incertezza 0.5 sigma</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="26"/>
        <source>Velocity; incertezza 1 sigma</source>
        <translation>Velocità; incertezza 1 sigma</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="29"/>
        <source>Velocity; band 10-90% of the models that fit the data</source>
        <translation>Velocità; banda 10-90% dei modelli che rispettano i dati</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="45"/>
        <source>Field profile</source>
        <translation>Profilo del terreno</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="62"/>
        <source>Allow strong stiffness contrasts between 2 consecutive layers</source>
        <translation>Consentiti forti contrasti di rigidezza tra 2 strati consecutivi</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="64"/>
        <source>Strong stiffness contrast between 2 consecutive layers forbidden</source>
        <translation>Vietati forti contrasti di rigidezza tra 2 strati consecutivi</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="68"/>
        <source>Layer %1</source>
        <translation>Strato %1</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="81"/>
        <source>Vs is fixed</source>
        <translation>Vs è fissa</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="90"/>
        <source>This layer is water table</source>
        <translation>Questo strato è in falda</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="91"/>
        <source>This layer is not water table</source>
        <translation>Questo strato non è in falda</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="94"/>
        <source>This layer is alluvional</source>
        <translation>Questo strato è alluvionale</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="95"/>
        <source>This layer is not alluvional</source>
        <translation>Questo strato non è alluvionale</translation>
    </message>
    <message>
        <location filename="../profile/ProfileReport.cpp" line="106"/>
        <source>Numerical velocities - experimental points (green), Rayleigth modes (cyan), apparent curve (blue), numerical curve (red)</source>
        <translation>Velocità numeriche - punti sperimentali (verde), modi di Rayleigh (ciano), curva apparente (blu), curva numerica (rosso)</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="74"/>
        <source>Could not start process. Please refer to documentation to solve the problem.</source>
        <translation>Impossibile avviare il processo. Consultare la documentazione per risolvere il problema.</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="313"/>
        <source>Warning: the Vs of layer(s) %1 lies on its search bound</source>
        <translation>Attenzione: la Vs dello strato/degli strati %1 è sul limite di ricerca</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="323"/>
        <source>Warning: Vs30 depends on depths below the depth of investigation (%1 m)</source>
        <translation>Attenzione: la Vs30 dipende da profondità oltre la profondità di indagine (%1 m)</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="91"/>
        <source>Warning: the final curves of the best model could not be computed</source>
        <translation>Attenzione: non è stato possibile calcolare le curve finali del modello migliore</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="317"/>
        <source>Warning: the band of layer(s) %1 reaches its search bound: the data allow Vs beyond it</source>
        <translation>Attenzione: la banda dello strato/degli strati %1 raggiunge il limite di ricerca: i dati ammettono Vs oltre il limite</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="336"/>
        <source>Normalised error (residual over standard deviation, RMS): %1</source>
        <translation>Errore normalizzato (scarto su deviazione standard, RMS): %1</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="339"/>
        <source>Vs30: %1 m/s (range 10-90%: %2 - %3 m/s, %4 starts)</source>
        <translation>Vs30: %1 m/s (intervallo 10-90%: %2 - %3 m/s, %4 partenze)</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="343"/>
        <source>Depth of investigation: %1 m</source>
        <translation>Profondità di indagine: %1 m</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="82"/>
        <source>Error between apparent curve and experimental curve: &gt;100%</source>
        <translation>Errore tra curva apparente e curva sperimentale: &gt;100%</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="84"/>
        <source>Error between apparent curve and experimental curve: %1%</source>
        <translation>Errore tra curva apparente e curva sperimentale: %1%</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="385"/>
        <source>Error between effective curve and experimental curve: &gt;100%</source>
        <translation>Errore tra curva effettiva e curva sperimentale: &gt;100%</translation>
    </message>
    <message>
        <location filename="../profile/ProfileRun.cpp" line="387"/>
        <source>Error between effective curve and experimental curve: %1%</source>
        <translation>Errore tra curva effettiva e curva sperimentale: %1%</translation>
    </message>
</context>
<context>
    <name>CGUIRispostaSperimentale1</name>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="41"/>
        <source>All supported files|*.txt;*.seg2;*.sg2;*.dat;*.xls;*.su;*.segy;*.sgy;*.drm;*.xlsx|Text file (*.TXT)|*.txt|Seg2 file (*.SEG2,*.SG2,*.DAT)|*.seg2;*.sg2;*.dat|Excel file (*.XLS)|*.xls;*.xlsx|SU file (*.SU)|*.su|SEGY file (*.SEGY,*.SGY)|*.segy;*.sgy|DRM file (*.DRM)|*.drm||</source>
        <translation>Tutti i file supportati|*.txt;*.seg2;*.sg2;*.dat;*.xls;*.su;*.segy;*.sgy;*.drm;*.xlsx|File di testo (*.TXT)|*.txt|File Seg2 (*.SEG2,*.SG2,*.DAT)|*.seg2;*.sg2;*.dat|File Excel (*.XLS)|*.xls;*.xlsx|File SU (*.SU)|*.su|File SEGY (*.SEGY,*.SGY)|*.segy;*.sgy|File DRM (*.DRM)|*.drm||</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="91"/>
        <source>Data file</source>
        <translation>File dei dati</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="93"/>
        <source>Experimental traces can be given in formats TXT, SEG2, SEGY, XLS, SU or DRM</source>
        <translation>Le tracce sperimentali possono essere fornite nei formati TXT, SEG2, SEGY, XLS, SU o DRM</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="103"/>
        <source>Open a trace file</source>
        <translation>Apri un file di tracce</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="106"/>
        <source>Stack</source>
        <translation>Somma</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="107"/>
        <source>Add a repeated blow at the same source position to the traces, trace by trace</source>
        <translation>Somma alle tracce, traccia per traccia, una battuta ripetuta nella stessa posizione della sorgente</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="117"/>
        <source>Distance between 2 consecutive receivers</source>
        <translation>Distanza tra 2 ricevitori consecutivi</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="120"/>
        <source>Specify distance between receivers.</source>
        <translation>Specificare la distanza tra i ricevitori.</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="121"/>
        <source>Receivers distance [m]</source>
        <translation>Distanza ricevitori [m]</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="126"/>
        <source>Source position</source>
        <translation>Posizione della sorgente</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="128"/>
        <source>Mark if source is near the last receiver.</source>
        <translation>Selezionare se la sorgente è vicina all&apos;ultimo ricevitore.</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="131"/>
        <source>Source to first receiver [m]</source>
        <translation>Sorgente - primo ricevitore [m]</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="135"/>
        <source>Used by the phase-shift image; left empty, one receiver spacing is taken</source>
        <translation>Usata dall&apos;immagine a spostamento di fase; se vuota si prende una spaziatura fra i ricevitori</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="145"/>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="427"/>
        <source>Time step</source>
        <translation>Passo temporale</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="148"/>
        <source>Time step used in field is required</source>
        <translation>È richiesto il passo temporale usato in campagna</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="149"/>
        <source>Time sampling [ms]</source>
        <translation>Campionamento temporale [ms]</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="154"/>
        <source>Receivers selection</source>
        <translation>Selezione dei ricevitori</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="157"/>
        <source>Choose receivers to be used in the analysis.</source>
        <translation>Scegliere i ricevitori da usare nell&apos;analisi.</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="159"/>
        <source>Use receivers up to</source>
        <translation>Usa i ricevitori fino a</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="171"/>
        <source>Time window must contain useful motion. Given time interval can be directly adapted by the code to reduce computational time.</source>
        <translation>La finestra temporale deve contenere il moto utile. L&apos;intervallo indicato può essere adattato direttamente dal programma per ridurre il tempo di calcolo.</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="177"/>
        <source>Consider time interval starting from</source>
        <translation>Considera l&apos;intervallo temporale a partire da</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="181"/>
        <source>to</source>
        <translation>a</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="183"/>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="213"/>
        <source>Previous</source>
        <translation>Indietro</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="215"/>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="217"/>
        <source>Next</source>
        <translation>Avanti</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="226"/>
        <source>Passive analysis (REMI)</source>
        <translation>Analisi passiva (REMI)</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="228"/>
        <source>Analyse an ambient-noise record (no active source) instead</source>
        <translation>Analizza invece una registrazione di rumore ambientale (senza sorgente attiva)</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataChapter.cpp" line="28"/>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="297"/>
        <source>Measures</source>
        <translation>Misure</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataChapter.cpp" line="31"/>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="298"/>
        <source>Sensors</source>
        <translation>Sensori</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="363"/>
        <source>Insert the new traces AFTER the current traces?</source>
        <translation>Inserire le nuove tracce DOPO le tracce attuali?</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="364"/>
        <source>Append traces</source>
        <translation>Accoda tracce</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="402"/>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="403"/>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="471"/>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="472"/>
        <source>Incorrect file format</source>
        <translation>Formato del file non corretto</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="404"/>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="409"/>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="477"/>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="432"/>
        <source>You can append additional traces to the just inserted ones by selecting other files.</source>
        <translation>È possibile accodare altre tracce a quelle appena inserite selezionando altri file.</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="434"/>
        <source>Concatenate traces</source>
        <translation>Concatena tracce</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataChapter.cpp" line="32"/>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="299"/>
        <source>Time [s]</source>
        <translation>Tempo [s]</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="474"/>
        <source>The traces are unchanged.</source>
        <translation>Le tracce non sono cambiate.</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="508"/>
        <source>%1 records stacked</source>
        <translation>%1 registrazioni sommate</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataChapter.cpp" line="63"/>
        <source>Experimental data</source>
        <translation>Dati sperimentali</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataChapter.cpp" line="68"/>
        <source>Experimental traces</source>
        <translation>Tracce sperimentali</translation>
    </message>
    <message>
        <location filename="../data/ActiveDataChapter.cpp" line="30"/>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="197"/>
        <source>Distance from the source [m]</source>
        <translation>Distanza dalla sorgente [m]</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="199"/>
        <source>Place the traces at their distance from the source and fill their positive lobes</source>
        <translation>Disporre le tracce alla loro distanza dalla sorgente e riempirne i lobi positivi</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="201"/>
        <source>One amplitude scale for the whole record</source>
        <translation>Un&apos;unica scala delle ampiezze per tutta la registrazione</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="204"/>
        <source>Scale all traces alike, so that the amplitude decay with offset shows</source>
        <translation>Scalare tutte le tracce allo stesso modo, così da mostrare il decadimento dell&apos;ampiezza con la distanza</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentale1.cpp" line="169"/>
        <source>Time window</source>
        <translation>Intervallo temporale</translation>
    </message>
</context>
<context>
    <name>CGUIRispostaSperimentale2</name>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="35"/>
        <source>Bandwidth</source>
        <translation>Banda di frequenza</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="37"/>
        <source>Give the frequency band in which the dispersion curve is picked: for every frequency the phase velocity of the strongest wave number is taken.</source>
        <translation>Indicare la banda di frequenza in cui ricavare la curva di dispersione: per ogni frequenza si prende la velocità di fase del numero d&apos;onda più energetico.</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="43"/>
        <source>Lower limit [Hz]</source>
        <translation>Limite inferiore [Hz]</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="48"/>
        <source>Upper limit [Hz]</source>
        <translation>Limite superiore [Hz]</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="53"/>
        <source>Pick the dispersion curve</source>
        <translation>Ricava la curva di dispersione</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="60"/>
        <source>Image</source>
        <translation>Immagine</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="63"/>
        <source>f-k spectrum</source>
        <translation>Spettro f-k</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="64"/>
        <source>Phase shift</source>
        <translation>Spostamento di fase</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="65"/>
        <source>The phase-shift image sums the traces at their true distance from the source; its pick follows the ridge and gives each point bounds</source>
        <translation>L&apos;immagine a spostamento di fase somma le tracce alla loro vera distanza dalla sorgente; la sua selezione segue la cresta e dà a ogni punto i suoi limiti</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="68"/>
        <source>Velocities [m/s]</source>
        <translation>Velocità [m/s]</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="77"/>
        <source>to</source>
        <translation>a</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="83"/>
        <source>Previous</source>
        <translation>Indietro</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="85"/>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="87"/>
        <source>Next</source>
        <translation>Avanti</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumCharts.cpp" line="24"/>
        <source>Spectrum f-k</source>
        <translation>Spettro f-k</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumCharts.cpp" line="26"/>
        <source>Wave number [rad/m]</source>
        <translation>Numero d&apos;onda [rad/m]</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumCharts.cpp" line="27"/>
        <location filename="../spectrum/SpectrumCharts.cpp" line="47"/>
        <location filename="../spectrum/SpectrumCharts.cpp" line="122"/>
        <source>Frequency [Hz]</source>
        <translation>Frequenza [Hz]</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumCharts.cpp" line="45"/>
        <source>Phase-shift image</source>
        <translation>Immagine a spostamento di fase</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumCharts.cpp" line="120"/>
        <location filename="../spectrum/SpectrumCharts.cpp" line="168"/>
        <source>Experimental dispersion curve</source>
        <translation>Curva di dispersione sperimentale</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumCharts.cpp" line="49"/>
        <location filename="../spectrum/SpectrumCharts.cpp" line="124"/>
        <source>Phase velocity  [m/s]</source>
        <translation>Velocità di fase  [m/s]</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="185"/>
        <source>No spectrum: read the traces on the experimental data page first.</source>
        <translation>Nessuno spettro: leggere prima le tracce nella pagina dei dati sperimentali.</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="190"/>
        <source>Frequency step %1 Hz, highest frequency %2 Hz</source>
        <translation>Passo in frequenza %1 Hz, frequenza massima %2 Hz</translation>
    </message>
    <message>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="151"/>
        <location filename="../spectrum/CGUIRispostaSperimentale2.cpp" line="225"/>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumCharts.cpp" line="149"/>
        <source>Final frequency</source>
        <translation>Frequenza finale</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumCharts.cpp" line="151"/>
        <source>Initial frequency</source>
        <translation>Frequenza iniziale</translation>
    </message>
    <message>
        <location filename="../spectrum/FkSpectrum.cpp" line="129"/>
        <source>Insert the lower limit of the bandwidth<byte value="xd"/>
</source>
        <translation>Inserire il limite inferiore della banda<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../spectrum/FkSpectrum.cpp" line="132"/>
        <source>Bandwidth lower limit must be positive or zero<byte value="xd"/>
</source>
        <translation>Il limite inferiore della banda deve essere positivo o nullo<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../spectrum/FkSpectrum.cpp" line="135"/>
        <source>Insert upper limit of the bandwidth<byte value="xd"/>
&quot;</source>
        <translation>Inserire il limite superiore della banda<byte value="xd"/>
&quot;</translation>
    </message>
    <message>
        <location filename="../spectrum/FkSpectrum.cpp" line="138"/>
        <source>Upper bandwidth limit must be positive<byte value="xd"/>
</source>
        <translation>Il limite superiore della banda deve essere positivo<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../spectrum/FkSpectrum.cpp" line="141"/>
        <source>Upper bandwidth limit must be greater than lower limit<byte value="xd"/>
</source>
        <translation>Il limite superiore della banda deve essere maggiore del limite inferiore<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../spectrum/FkSpectrum.cpp" line="146"/>
        <source>Max bandwidth is %1<byte value="xd"/>
</source>
        <translation>La banda massima è %1<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumCharts.cpp" line="163"/>
        <source>Analysis results</source>
        <translation>Risultati dell&apos;analisi</translation>
    </message>
</context>
<context>
    <name>CGUIRispostaSperimentaleP</name>
    <message>
        <location filename="../data/CGUIRispostaSperimentaleP.cpp" line="18"/>
        <source>Text file (*.TXT)|*.txt|Seg2 file (*.SEG2,*.SG2,*.DAT)|*.seg2;*.sg2;*.dat|Excel file(*.XLS)|*.xls;*.xlsx|SU file(*.SU)|*.su|SEGY file(*.SEGY,*.SGY)|*.segy;*.sgy|DRM File (*.DRM)|*.drm||</source>
        <translation>File di testo (*.TXT)|*.txt|File Seg2 (*.SEG2,*.SG2,*.DAT)|*.seg2;*.sg2;*.dat|File Excel (*.XLS)|*.xls;*.xlsx|File SU (*.SU)|*.su|File SEGY (*.SEGY,*.SGY)|*.segy;*.sgy|File DRM (*.DRM)|*.drm||</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentaleP.cpp" line="63"/>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentaleP.cpp" line="91"/>
        <source>Analysis results (P)</source>
        <translation>Risultati dell&apos;analisi (P)</translation>
    </message>
    <message>
        <location filename="../data/CGUIRispostaSperimentaleP.cpp" line="96"/>
        <source>Experimental traces</source>
        <translation>Tracce sperimentali</translation>
    </message>
</context>
<context>
    <name>CGUIRisultati</name>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="51"/>
        <source>Final results</source>
        <translation>Risultati finali</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="57"/>
        <source>Schema riassuntivo</source>
        <translation>Schema riassuntivo</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="62"/>
        <source>Type of ground</source>
        <translation>Categoria di sottosuolo</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="67"/>
        <source>Site</source>
        <translation>Sito</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="67"/>
        <source>Geotechnical description</source>
        <translation>Descrizione geotecnica</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="67"/>
        <source>Vs30 [m/s]</source>
        <translation>Vs30 [m/s]</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="80"/>
        <source>Soil classification</source>
        <translation>Classificazione del sottosuolo</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="91"/>
        <source>Yes</source>
        <translation>Sì</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="92"/>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="109"/>
        <source>Don&apos;t know</source>
        <translation>Non so</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="115"/>
        <source>Or classify under:</source>
        <translation>Oppure classifica secondo:</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="116"/>
        <source>NTC 2018</source>
        <translation>NTC 2018</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="117"/>
        <source>ASCE 7-22</source>
        <translation>ASCE 7-22</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="135"/>
        <source>Offset</source>
        <translation>Offset</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="139"/>
        <source>Reference plane z=0</source>
        <translation>Piano di riferimento z=0</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="169"/>
        <source>Previous</source>
        <translation>Indietro</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="172"/>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="175"/>
        <source>Save...</source>
        <translation>Salva...</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="178"/>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="283"/>
        <source>Verify soil nature before proceeding with soil classification</source>
        <translation>Verificare la natura del terreno prima di procedere con la classificazione del sottosuolo</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="284"/>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="373"/>
        <source>H = %1 m</source>
        <translation>H = %1 m</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="396"/>
        <source>Are you sure you want to quit the program?</source>
        <translation>Sei sicuro di voler uscire dal programma?</translation>
    </message>
    <message>
        <location filename="../results/CGUIRisultati.cpp" line="397"/>
        <source>Confirm exit</source>
        <translation>Conferma uscita</translation>
    </message>
</context>
<context>
    <name>CGUISteps</name>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="41"/>
        <source>Analysis steps</source>
        <translation>Fasi dell&apos;analisi</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="47"/>
        <source>Start</source>
        <translation>Inizio</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="48"/>
        <source>Experimental data</source>
        <translation>Dati sperimentali</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="49"/>
        <source>Spectrum</source>
        <translation>Spettro</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="50"/>
        <source>REMI</source>
        <translation>REMI</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="51"/>
        <source>Dispersion curve</source>
        <translation>Curva di dispersione</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="52"/>
        <source>Ground profile</source>
        <translation>Profilo del terreno</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="53"/>
        <source>Final results</source>
        <translation>Risultati finali</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="59"/>
        <source>2D Map</source>
        <translation>Mappa 2D</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="61"/>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="63"/>
        <source>Bibliography</source>
        <translation>Bibliografia</translation>
    </message>
    <message>
        <location filename="../shell/CGUISteps.cpp" line="109"/>
        <source>Schermata non ancora implementata</source>
        <translation>Schermata non ancora implementata</translation>
    </message>
</context>
<context>
    <name>CGridCtrl</name>
    <message>
        <location filename="../controls/CGridCtrl.cpp" line="251"/>
        <source>Cut</source>
        <translation>Taglia</translation>
    </message>
    <message>
        <location filename="../controls/CGridCtrl.cpp" line="252"/>
        <source>Copy</source>
        <translation>Copia</translation>
    </message>
    <message>
        <location filename="../controls/CGridCtrl.cpp" line="253"/>
        <source>Paste</source>
        <translation>Incolla</translation>
    </message>
    <message>
        <location filename="../controls/CGridCtrl.cpp" line="255"/>
        <source>Print...</source>
        <translation>Stampa...</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="244"/>
        <location filename="../shell/CMainFrame.cpp" line="261"/>
        <source>Untitled</source>
        <translation>Senza nome</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="56"/>
        <source>Ready</source>
        <translation>Pronto</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="76"/>
        <source>&amp;VELA</source>
        <translation>&amp;VELA</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="85"/>
        <source>&amp;New...</source>
        <translation>&amp;New...</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="87"/>
        <source>&amp;Open...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="89"/>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="91"/>
        <source>Save &amp;as...</source>
        <translation>Save &amp;as...</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="94"/>
        <source>2D Map</source>
        <translation>2D Map</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="102"/>
        <source>&amp;Exit</source>
        <translation>&amp;Exit</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="105"/>
        <source>&amp;Tools</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="106"/>
        <source>&amp;Language</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="108"/>
        <source>&amp;English</source>
        <translation>&amp;English</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="109"/>
        <source>&amp;Italian</source>
        <translation>&amp;Italian</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="122"/>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="126"/>
        <source>What&apos;s new...</source>
        <translation>What&apos;s new...</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="130"/>
        <source>&amp;Check for updates...</source>
        <translation>&amp;Check for updates...</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="134"/>
        <source>&amp;About VELA...</source>
        <translation>&amp;About VELA...</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="177"/>
        <source>The current analysis has not been saved. Discard it?</source>
        <translation>L&apos;analisi corrente non è stata salvata. Abbandonarla?</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="194"/>
        <source>Open</source>
        <translation>Apri</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="194"/>
        <location filename="../shell/CMainFrame.cpp" line="223"/>
        <source>VELA Files (*.vla)</source>
        <translation>File VELA (*.vla)</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="223"/>
        <source>Save as</source>
        <translation>Salva con nome</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="264"/>
        <source>Save changes to %1?</source>
        <translation>Salvare le modifiche a %1?</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="96"/>
        <source>Write &amp;report...</source>
        <translation>Write &amp;report...</translation>
    </message>
    <message>
        <location filename="../shell/CMainFrame.cpp" line="123"/>
        <source>Help of this &amp;page</source>
        <translation>Help of this &amp;page</translation>
    </message>
</context>
<context>
    <name>CMapSection</name>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="57"/>
        <source>The profile has more than %1 layers</source>
        <translation>Il profilo ha più di %1 strati</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="60"/>
        <source>Layer %1: the S velocity must be above 0</source>
        <translation>Strato %1: la velocità S deve essere maggiore di 0</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="63"/>
        <source>Layer %1: the thickness must not be negative</source>
        <translation>Strato %1: lo spessore non può essere negativo</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="92"/>
        <source>Layer %1: the S velocity is not a number</source>
        <translation>Strato %1: la velocità S non è un numero</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="99"/>
        <source>Layer %1: the thickness is not a number</source>
        <translation>Strato %1: lo spessore non è un numero</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="134"/>
        <source>The file doesn&apos;t contain a complete VELA analysis</source>
        <translation>Il file non contiene un&apos;analisi VELA completa</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="141"/>
        <source>The file %1 cannot be read</source>
        <translation>Impossibile leggere il file %1</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="145"/>
        <location filename="../spectrum/MapSection.cpp" line="212"/>
        <source>The file doesn&apos;t hold a profile</source>
        <translation>Il file non contiene un profilo</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="179"/>
        <source>Line %1: </source>
        <translation>Riga %1: </translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="181"/>
        <source>nothing may follow the half-space</source>
        <translation>nulla può seguire il semispazio</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="189"/>
        <source>the thickness is not a number</source>
        <translation>lo spessore non è un numero</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="191"/>
        <source>the S velocity is not a number</source>
        <translation>la velocità S non è un numero</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="196"/>
        <source>&apos;%1&apos; is not a number</source>
        <translation>&apos;%1&apos; non è un numero</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="201"/>
        <source>expected thickness and Vs, or thickness, Vp, Vs, density</source>
        <translation>attesi spessore e Vs, oppure spessore, Vp, Vs, densità</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="326"/>
        <source>Please insert the distance between the traces</source>
        <translation>Inserire la distanza tra le tracce</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="329"/>
        <source>The distance between the traces should be a positive number</source>
        <translation>La distanza tra le tracce deve essere un numero positivo</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="378"/>
        <source>Two-dimensional S velocity section</source>
        <translation>Sezione bidimensionale della velocità S</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="381"/>
        <source>Distance between traces:</source>
        <translation>Distanza tra le tracce:</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="384"/>
        <source>Files:</source>
        <translation>File:</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="388"/>
        <source>Position [m]: 0 to %1; depth [m]: 0 to %2; Vs [m/s]: %3 to %4</source>
        <translation>Posizione [m]: da 0 a %1; profondità [m]: da 0 a %2; Vs [m/s]: da %3 a %4</translation>
    </message>
    <message>
        <location filename="../spectrum/MapSection.cpp" line="402"/>
        <source>Colour scale: %1 m/s (left) to %2 m/s (right)</source>
        <translation>Scala dei colori: da %1 m/s (a sinistra) a %2 m/s (a destra)</translation>
    </message>
</context>
<context>
    <name>CMessageBox</name>
    <message>
        <location filename="../page/CMessageBox.cpp" line="55"/>
        <source>Don&apos;t show this message again</source>
        <translation>Non mostrare più questo messaggio</translation>
    </message>
</context>
<context>
    <name>CNomeExcel</name>
    <message>
        <location filename="../data/CNomeExcel.cpp" line="11"/>
        <source>Excel sheet name</source>
        <translation>Nome foglio Excel</translation>
    </message>
    <message>
        <location filename="../data/CNomeExcel.cpp" line="13"/>
        <source>Enter the name of the Excel sheet that holds the data</source>
        <translation>Inserire il nome del foglio excel con i dati</translation>
    </message>
</context>
<context>
    <name>CVelocityScale</name>
    <message>
        <location filename="../spectrum/CVelocityScale.cpp" line="40"/>
        <location filename="../spectrum/CVelocityScale.cpp" line="51"/>
        <source>Vs [m/s]</source>
        <translation>Vs [m/s]</translation>
    </message>
</context>
<context>
    <name>CWinQuiverApp</name>
    <message>
        <location filename="../shell/CWinQuiverApp.cpp" line="54"/>
        <location filename="../shell/CWinQuiverApp.cpp" line="121"/>
        <source>The language file %1 could not be written.</source>
        <translation>Impossibile scrivere il file della lingua %1.</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverApp.cpp" line="79"/>
        <source>The current analysis has not been saved. Discard it?</source>
        <translation>L&apos;analisi corrente non è stata salvata. Scartarla?</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverApp.cpp" line="91"/>
        <source>%1 was not opened: trace files are opened from the experimental data page.</source>
        <translation>%1 non è stato aperto: i file delle tracce si aprono dalla schermata dei dati sperimentali.</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverApp.cpp" line="143"/>
        <source>No update page is configured for this installation.</source>
        <translation>Nessuna pagina di aggiornamento è configurata per questa installazione.</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverApp.cpp" line="153"/>
        <source>VELA version %1

Multichannel analysis of surface waves: dispersion spectrum, dispersion curve, Vs profile, Vs30 and soil category.</source>
        <translation>VELA versione %1

Analisi multicanale delle onde superficiali: spettro di dispersione, curva di dispersione, profilo di Vs, Vs30 e categoria di suolo.</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverApp.cpp" line="156"/>
        <source>About VELA</source>
        <translation>Informazioni su VELA</translation>
    </message>
</context>
<context>
    <name>CWinQuiverDoc</name>
    <message>
        <location filename="../shell/CWinQuiverDoc.cpp" line="35"/>
        <source>The file %1 cannot be opened: %2.</source>
        <translation>Impossibile aprire il file %1: %2.</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverDoc.cpp" line="51"/>
        <source>The file %1 is damaged or is not a VELA analysis (%2). The analysis on screen has not been changed.</source>
        <translation>Il file %1 è danneggiato o non è un&apos;analisi VELA (%2). L&apos;analisi sullo schermo non è stata modificata.</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverDoc.cpp" line="59"/>
        <source>This file was generated with a newer version and cannot be opened</source>
        <translation>Questo file è stato generato con una versione più recente e non può essere aperto</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverDoc.cpp" line="60"/>
        <source>Wrong version</source>
        <translation>Versione errata</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverDoc.cpp" line="72"/>
        <source>The file %1 could not be read completely (%2).</source>
        <translation>Non è stato possibile leggere completamente il file %1 (%2).</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverDoc.cpp" line="95"/>
        <source>This file was created with an older version of the program. It will be converted to the latest version.</source>
        <translation>Questo file è stato creato con una versione precedente del programma. Sarà convertito all&apos;ultima versione.</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverDoc.cpp" line="97"/>
        <source>Version upgrade</source>
        <translation>Aggiornamento di versione</translation>
    </message>
    <message>
        <location filename="../shell/CWinQuiverDoc.cpp" line="103"/>
        <source>The analysis could not be saved to %1 (%2). The file already there, if any, has not been changed.</source>
        <translation>Non è stato possibile salvare l&apos;analisi in %1 (%2). Il file già presente, se esiste, non è stato modificato.</translation>
    </message>
</context>
<context>
    <name>PassiveAnalysis</name>
    <message>
        <location filename="../spectrum/PassiveAnalysis.cpp" line="14"/>
        <source>The traces cannot be windowed: check the time step and window</source>
        <translation>Le tracce non possono essere finestrate: controllare il passo temporale e la finestra</translation>
    </message>
    <message>
        <location filename="../spectrum/PassiveAnalysis.cpp" line="22"/>
        <source>Use at least two receivers</source>
        <translation>Usare almeno due ricevitori</translation>
    </message>
</context>
<context>
    <name>PassiveTransform</name>
    <message>
        <location filename="../spectrum/PassiveTransform.cpp" line="136"/>
        <source>The passive spectrum needs at least one trace of two samples</source>
        <translation>Lo spettro passivo richiede almeno una traccia di due campioni</translation>
    </message>
    <message>
        <location filename="../spectrum/PassiveTransform.cpp" line="142"/>
        <location filename="../spectrum/PassiveTransform.cpp" line="148"/>
        <source>Every trace needs its receiver position</source>
        <translation>Ogni traccia richiede la posizione del suo ricevitore</translation>
    </message>
    <message>
        <location filename="../spectrum/PassiveTransform.cpp" line="154"/>
        <source>The time step must be greater than zero</source>
        <translation>Il passo temporale deve essere maggiore di zero</translation>
    </message>
    <message>
        <location filename="../spectrum/PassiveTransform.cpp" line="158"/>
        <source>The slowness grid needs from 2 to 100000 values</source>
        <translation>La griglia delle lentezze richiede da 2 a 100000 valori</translation>
    </message>
    <message>
        <location filename="../spectrum/PassiveTransform.cpp" line="166"/>
        <source>The transform length must be a power of two</source>
        <translation>La lunghezza della trasformata deve essere una potenza di due</translation>
    </message>
</context>
<context>
    <name>PhaseShiftTransform</name>
    <message>
        <location filename="../spectrum/PhaseShiftTransform.cpp" line="129"/>
        <source>The phase-shift image needs at least two traces of two samples</source>
        <translation>L&apos;immagine phase-shift richiede almeno due tracce di due campioni</translation>
    </message>
    <message>
        <location filename="../spectrum/PhaseShiftTransform.cpp" line="134"/>
        <location filename="../spectrum/PhaseShiftTransform.cpp" line="164"/>
        <source>Every trace needs its distance from the source</source>
        <translation>Ogni traccia richiede la sua distanza dalla sorgente</translation>
    </message>
    <message>
        <location filename="../spectrum/PhaseShiftTransform.cpp" line="140"/>
        <source>The time step must be greater than zero</source>
        <translation>Il passo temporale deve essere maggiore di zero</translation>
    </message>
    <message>
        <location filename="../spectrum/PhaseShiftTransform.cpp" line="145"/>
        <source>The velocity range needs 0 &lt; minimum &lt; maximum and a step greater than zero</source>
        <translation>L&apos;intervallo di velocità richiede 0 &lt; minimo &lt; massimo e un passo maggiore di zero</translation>
    </message>
    <message>
        <location filename="../spectrum/PhaseShiftTransform.cpp" line="152"/>
        <source>The velocity step is too small for the velocity range</source>
        <translation>Il passo di velocità è troppo piccolo per l&apos;intervallo di velocità</translation>
    </message>
    <message>
        <location filename="../spectrum/PhaseShiftTransform.cpp" line="158"/>
        <source>The frequency band needs 0 &lt;= lowest &lt; highest frequency</source>
        <translation>La banda di frequenza richiede 0 &lt;= frequenza minima &lt; frequenza massima</translation>
    </message>
    <message>
        <location filename="../spectrum/PhaseShiftTransform.cpp" line="178"/>
        <source>No frequency of the record lies inside the band</source>
        <translation>Nessuna frequenza della registrazione cade nella banda</translation>
    </message>
</context>
<context>
    <name>ReportDriver</name>
    <message>
        <location filename="../results/ReportDriver.cpp" line="24"/>
        <source>Rich Text Format (*.rtf)</source>
        <translation>Rich Text Format (*.rtf)</translation>
    </message>
    <message>
        <location filename="../results/ReportDriver.cpp" line="35"/>
        <source>RTF export</source>
        <translation>Esportazione RTF</translation>
    </message>
    <message>
        <location filename="../results/ReportDriver.cpp" line="39"/>
        <source>Impossible to open file</source>
        <translation>Impossibile aprire il file</translation>
    </message>
    <message>
        <location filename="../results/ReportDriver.cpp" line="65"/>
        <source>The report could not be written completely (is the disk full?); nothing was saved as %1.</source>
        <translation>Non è stato possibile scrivere la relazione per intero (il disco è pieno?); non è stato salvato nulla come %1.</translation>
    </message>
    <message>
        <location filename="../results/ReportDriver.cpp" line="73"/>
        <source>Data successfully exported in %1</source>
        <translation>Dati esportati correttamente in %1</translation>
    </message>
    <message>
        <location filename="../results/ReportDriver.cpp" line="58"/>
        <source>The report could not be written: %1</source>
        <translation>Non è stato possibile scrivere la relazione: %1</translation>
    </message>
</context>
<context>
    <name>ReportWriter</name>
    <message>
        <location filename="../results/ReportWriter.cpp" line="71"/>
        <source>VELA Analysis Report</source>
        <translation>Relazione di analisi VELA</translation>
    </message>
    <message>
        <location filename="../results/ReportWriter.cpp" line="76"/>
        <source>Author:</source>
        <translation>Autore:</translation>
    </message>
    <message>
        <location filename="../results/ReportWriter.cpp" line="77"/>
        <source>Site:</source>
        <translation>Località:</translation>
    </message>
    <message>
        <location filename="../results/ReportWriter.cpp" line="78"/>
        <source>Date:</source>
        <translation>Data:</translation>
    </message>
    <message>
        <location filename="../results/ReportWriter.cpp" line="81"/>
        <source>Generated by %1</source>
        <translation>Generato da %1</translation>
    </message>
    <message>
        <location filename="../results/ReportWriter.cpp" line="131"/>
        <source>Appendix</source>
        <translation>Appendice</translation>
    </message>
    <message>
        <location filename="../results/ReportWriter.cpp" line="179"/>
        <source>Table</source>
        <translation>Tabella</translation>
    </message>
    <message>
        <location filename="../results/ReportWriter.cpp" line="187"/>
        <source>Figure</source>
        <translation>Figura</translation>
    </message>
</context>
<context>
    <name>ResultsChapter</name>
    <message>
        <location filename="../results/ResultsChapter.cpp" line="13"/>
        <source>Final results</source>
        <translation>Risultati finali</translation>
    </message>
    <message>
        <location filename="../results/ResultsChapter.cpp" line="15"/>
        <source>Reference plane z=0 [m]</source>
        <translation>Piano di riferimento z=0 [m]</translation>
    </message>
    <message>
        <location filename="../results/ResultsChapter.cpp" line="19"/>
        <source>H [m]</source>
        <translation>H [m]</translation>
    </message>
    <message>
        <location filename="../results/ResultsChapter.cpp" line="35"/>
        <source>Soil type </source>
        <translation>Categoria di sottosuolo </translation>
    </message>
    <message>
        <location filename="../results/ResultsChapter.cpp" line="43"/>
        <source>Type of ground</source>
        <translation>Categoria di sottosuolo</translation>
    </message>
    <message>
        <location filename="../results/ResultsChapter.cpp" line="48"/>
        <source>Type %1: %2</source>
        <translation>Categoria %1: %2</translation>
    </message>
</context>
<context>
    <name>ResultsForm</name>
    <message>
        <location filename="../results/ResultsForm.cpp" line="44"/>
        <source>Yes</source>
        <translation>SI</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="45"/>
        <source>No</source>
        <translation>NO</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="68"/>
        <source>Geotechnical unit</source>
        <translation>Unità geotecnica</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="68"/>
        <source>Description</source>
        <translation>Descrizione</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="69"/>
        <source>h [m]</source>
        <translation>h [m]</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="69"/>
        <source>z [m]</source>
        <translation>z [m]</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="69"/>
        <source>Density [kg/m^3]</source>
        <translation>Densità [kg/m^3]</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="69"/>
        <source>Water table</source>
        <translation>Falda</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="69"/>
        <source>Poisson</source>
        <translation>Poisson</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="70"/>
        <source>Vs [m/s]</source>
        <translation>Vs [m/s]</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="70"/>
        <source>Vs fixed</source>
        <translation>Vs fissa</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="70"/>
        <source>Vp [m/s]</source>
        <translation>Vp [m/s]</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="70"/>
        <source>Alluvional</source>
        <translation>Alluvionale</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="97"/>
        <source>Vs30 of the models that fit the data (10-90%): %1 - %2 m/s; depth of investigation: %3 m</source>
        <translation>Vs30 dei modelli che rispettano i dati (10-90%): %1 - %2 m/s; profondità di indagine: %3 m</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="103"/>
        <source>(warning: Vs30 depends on depths below the depth of investigation)</source>
        <translation>(attenzione: la Vs30 dipende da profondità oltre la profondità di indagine)</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="114"/>
        <source>Outcropping rock masses or very stiff soils with<byte value="xd"/>
shear-wave velocities above 800 m/s, possibly including<byte value="xd"/>
at the surface weaker material at most 3 m thick</source>
        <translation>Ammassi rocciosi affioranti o terreni molto rigidi con</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="119"/>
        <source>Soft rocks and deposits of very dense coarse-grained<byte value="xd"/>
soils or very stiff fine-grained soils, with mechanical<byte value="xd"/>
properties improving with depth and an equivalent<byte value="xd"/>
velocity between 360 m/s and 800 m/s</source>
        <translation>Rocce tenere e depositi di terreni a grana grossa molto</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="124"/>
        <source>Deposits of medium-dense coarse-grained soils or<byte value="xd"/>
medium-stiff fine-grained soils with the substrate<byte value="xd"/>
deeper than 30 m, with mechanical properties improving<byte value="xd"/>
with depth and an equivalent velocity between<byte value="xd"/>
180 m/s and 360 m/s</source>
        <translation>Depositi di terreni a grana grossa mediamente addensati o</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="130"/>
        <source>Deposits of loose coarse-grained soils or soft<byte value="xd"/>
fine-grained soils with the substrate deeper than 30 m,<byte value="xd"/>
with mechanical properties improving with depth and<byte value="xd"/>
an equivalent velocity between 100 m/s and 180 m/s</source>
        <translation>Depositi di terreni a grana grossa scarsamente addensati o</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="135"/>
        <source>Soils with the properties and equivalent velocities<byte value="xd"/>
of categories C or D and the substrate not deeper<byte value="xd"/>
than 30 m</source>
        <translation>Terreni con caratteristiche e velocità equivalente</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="141"/>
        <source>Hard rock</source>
        <translation>Roccia dura</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="142"/>
        <source>Medium hard rock</source>
        <translation>Roccia mediamente dura</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="143"/>
        <source>Soft rock</source>
        <translation>Roccia tenera</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="144"/>
        <source>Very dense sand or hard clay</source>
        <translation>Sabbia molto addensata o argilla dura</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="146"/>
        <source>Dense sand or very stiff clay</source>
        <translation>Sabbia addensata o argilla molto consistente</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="148"/>
        <source>Medium dense sand or stiff clay</source>
        <translation>Sabbia mediamente addensata o argilla consistente</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="150"/>
        <source>Loose sand or medium stiff clay</source>
        <translation>Sabbia sciolta o argilla mediamente consistente</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="152"/>
        <source>Very loose sand or soft clay</source>
        <translation>Sabbia molto sciolta o argilla tenera</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="154"/>
        <source>Soils requiring a site response analysis: liquefiable soils,<byte value="xd"/>
peat or highly organic clay thicker than 3 m</source>
        <translation>Terreni che richiedono un&apos;analisi di risposta sismica locale:</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="163"/>
        <source>Lithoid formations or very rigid homogenous soils<byte value="xd"/>
characterized by values of Vs30&gt;800m/s, inclusive<byte value="xd"/>
of any superficial alteration strata with a maximum <byte value="xd"/>
thickness of 5m</source>
        <translation>Formazioni litoidi o suoli omogenei molto rigidi</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="166"/>
        <source>Rock or other rock-like geologicalformation,<byte value="xd"/>
including at most 3 m of weaker material at the surface</source>
        <translation>Ammassi rocciosi affioranti o terreni molto rigidi,</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="170"/>
        <source>Deposits of very thickened gravels or sands or very <byte value="xd"/>
consistent clays, with a thickness of several tens of <byte value="xd"/>
meters, characterized by a gradual improvement of<byte value="xd"/>
mechanical properties with depth and by Vs30 values<byte value="xd"/>
between 360m/s and 800m/s</source>
        <translation>Depositi di sabbie o ghiaie molto addensate o argille molto</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="174"/>
        <source>Deposits of very dense sand, gravel, or very stiff clay,<byte value="xd"/>
at least 30 m in thickness, characterised by a gradual<byte value="xd"/>
increase of mechanical properties with depth, Vs30 <byte value="xd"/>
between 360m/s and 800m/s</source>
        <translation>Depositi di sabbie, ghiaie molto addensate o argille molto</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="179"/>
        <source>Deposits of medium thickened gravels or sands or<byte value="xd"/>
medium consistent clays, with a thickness varying<byte value="xd"/>
from several tens to hundreds of meters, characterized<byte value="xd"/>
by Vs30 values between 180m/s and 360m/s</source>
        <translation>Depositi di sabbie o ghiaie mediamente addensate o argille</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="182"/>
        <source>Deep deposits of dense or medium dense sand, gravel<byte value="xd"/>
or stiff clay with thickness greater than 30 m, Vs30<byte value="xd"/>
between 180m/s and 360m/s</source>
        <translation>Depositi profondi di sabbie, ghiaie addensate o mediamente</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="186"/>
        <source>Deposits of granular matter, from loose to lightly<byte value="xd"/>
thickened, or cohesive matter, of light to medium<byte value="xd"/>
consistence, characterized by values of Vs30 &lt; 180m/s</source>
        <translation>Depositi di terreni granulari da sciolti a poco addensati,</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="189"/>
        <source>Deposits of loose-to-medium cohesionless soil (with or<byte value="xd"/>
without some soft cohesive layers), or of predominantly <byte value="xd"/>
soft-to-firm cohesive soil with thickness greater than <byte value="xd"/>
30 m, Vs30  lower than 180m/s</source>
        <translation>Depositi di terreni granulari da sciolti a mediamente</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="194"/>
        <source>Soil profiles made of alluvial surface strata, with Vs<byte value="xd"/>
values similar to the C or D type and with a thickness<byte value="xd"/>
between 5m and 20m, lying on a substratum of more<byte value="xd"/>
rigid material with Vs&gt;800m/s</source>
        <translation>Profili di terreno costituiti da strati superficiali alluvionali,</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="197"/>
        <source>A soil profile consisting of a surface alluvium layer <byte value="xd"/>
with vs values of type C or D and thickness lower than<byte value="xd"/>
20 m, underlain by stiffer material with vs &gt; 800 m/s</source>
        <translation>Profilo di terreno costituito da uno strato alluvionale</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="202"/>
        <source>Deposits made of, or including, one stratum at least 10m<byte value="xd"/>
thick of clays/silts of low consistency, with a high level<byte value="xd"/>
of plasticity (IP&gt;40) and water content, characterized<byte value="xd"/>
by values of Vs30&lt;100m/s</source>
        <translation>Depositi costituiti da, o che includono, uno strato spesso</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="205"/>
        <source>Deposits of soils with Vs30&lt;100m/s (or 10 &lt; cu,30 &lt; 20 kPa),<byte value="xd"/>
which include a layer of fine-grained and low consistency<byte value="xd"/>
soil with a thickness greater than 8m, or a layer <byte value="xd"/>
of peat or highly organic clay with a thickness greater than 3m.</source>
        <translation>Depositi di terreni con Vs30&lt;100m/s (o 10 &lt; cu,30 &lt; 20 kPa),</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="211"/>
        <source>Deposits of soils that are subject to liquefaction,<byte value="xd"/>
of sensitive clays or of any other soil category that<byte value="xd"/>
cannot be classified in the previous types</source>
        <translation>Depositi di terreni suscettibili di liquefazione,</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="214"/>
        <source>Deposits of liquefiable soils, of sensitive clays,<byte value="xd"/>
or any other soil profile not included in types A - E or S1</source>
        <translation>Depositi di terreni suscettibili di liquefazione, di argille</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="225"/>
        <source>Do you want to use the new law (DM 14 January 2008)?</source>
        <translation>Vuoi usare la nuova normativa (DM 14 gennaio 2008)?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="227"/>
        <source>Does site type belong to classes A, B, C, D, E o S1 (alluvional soil, gravel, sand, silt, clay, rock)?</source>
        <translation>Il sito appartiene alle classi A, B, C, D, E o S1 (terreno alluvionale, ghiaia, sabbia, limo, argilla, roccia)?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="231"/>
        <source>Is the site susceptible to liquefaction, or is there a layer of peat or highly organic clay thicker than 3 m?</source>
        <translation>Il sito è suscettibile di liquefazione, o c&apos;è uno strato di torba o di argilla altamente organica spesso più di 3 m?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="233"/>
        <source>Is the site susceptible to liquefaction or is there sensitive clay?</source>
        <translation>Il sito è suscettibile di liquefazione o ci sono argille sensitive?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="235"/>
        <source>Is there a silty or clayey layer thicker than 10 m with high level of water content ?</source>
        <translation>C&apos;è uno strato limoso o argilloso spesso più di 10 m con elevato contenuto d&apos;acqua?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="237"/>
        <source>Is there a layer of fine-grained and low consistency soil with a thickness greater than 8m?</source>
        <translation>C&apos;è uno strato di terreno a grana fina di bassa consistenza spesso più di 8m?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="240"/>
        <source>Is plasticity index greater than 40% ?</source>
        <translation>L&apos;indice di plasticità è maggiore del 40%?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="241"/>
        <source>Is there a layer of peat or highly organic clay with a thickness greater than 3m?</source>
        <translation>C&apos;è uno strato di torba o di argilla altamente organica spesso più di 3m?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="244"/>
        <source>Is there an alteration layer thicker than 5m?</source>
        <translation>C&apos;è uno strato di alterazione spesso più di 5m?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="245"/>
        <source>Is there an alteration layer thicker than 3m?</source>
        <translation>C&apos;è uno strato di alterazione spesso più di 3m?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="247"/>
        <source>Do the mechanic characteristics of the layers gradually improve with depth?</source>
        <translation>Le caratteristiche meccaniche degli strati migliorano gradualmente con la profondità?</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="249"/>
        <source>Please confirm the geotechnic unit of the bed rock</source>
        <translation>Confermare l&apos;unità geotecnica del substrato roccioso</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="259"/>
        <source>O.P.C.M. n. 3274/2003 with Eurocode 8</source>
        <translation>O.P.C.M. n. 3274/2003 con Eurocodice 8</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="261"/>
        <source>NTC 2018 (D.M. 17 January 2018)</source>
        <translation>NTC 2018 (D.M. 17 gennaio 2018)</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="263"/>
        <source>ASCE 7-22 (Table 20.2-1)</source>
        <translation>ASCE 7-22 (Tabella 20.2-1)</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="265"/>
        <source>DM 14 January 2008</source>
        <translation>DM 14 gennaio 2008</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="273"/>
        <source>Vs,eq [m/s]</source>
        <translation>Vs,eq [m/s]</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="275"/>
        <source>Vs,100ft [m/s]</source>
        <translation>Vs,100ft [m/s]</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="277"/>
        <source>Vs30 [m/s]</source>
        <translation>Vs30 [m/s]</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="284"/>
        <source>No final profile yet: the ground profile step gives it</source>
        <translation>Nessun profilo finale: lo fornisce il passo del profilo del terreno</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="286"/>
        <source>No category: a site-specific seismic response analysis is required</source>
        <translation>Nessuna categoria: è necessaria un&apos;analisi specifica di risposta sismica locale</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="289"/>
        <source>Soil type </source>
        <translation>Categoria di sottosuolo </translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="300"/>
        <source>Not found</source>
        <translation>Non trovato</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="430"/>
        <source>You are using the definitions included in O.P.C.M. n. 3274/2003 &quot;Ex Testo Unico sulle costruzioni&quot; and Eurocodice 8</source>
        <translation>Si stanno usando le definizioni contenute nell&apos;O.P.C.M. n. 3274/2003 &quot;Ex Testo Unico sulle costruzioni&quot; e nell&apos;Eurocodice 8</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="433"/>
        <source>You are using the definitions included in NTC 2018 (D.M. 17 gennaio 2018)</source>
        <translation>Si stanno usando le definizioni contenute nelle NTC 2018 (D.M. 17 gennaio 2018)</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="436"/>
        <source>You are using the site classes of ASCE 7-22 (Table 20.2-1)</source>
        <translation>Si stanno usando le classi di sito della ASCE 7-22 (Tabella 20.2-1)</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="438"/>
        <source>You are using the definitions included in DM 14 gennaio 2008</source>
        <translation>Si stanno usando le definizioni contenute nel DM 14 gennaio 2008</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="443"/>
        <source>The geotechnic unit %1 is the bed rock</source>
        <translation>L&apos;unità geotecnica %1 è il substrato roccioso</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="449"/>
        <source>The site does belongs to classes A, B, C, D, E or S1 (alluvional soil, gravel, sand, silt, clay, rock).</source>
        <translation>Il sito appartiene alle classi A, B, C, D, E o S1 (terreno alluvionale, ghiaia, sabbia, limo, argilla, roccia).</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="451"/>
        <source>The site does not belong to classes A, B, C, D, E or S1 (alluvional soil, gravel, sand, silt, clay, rock).</source>
        <translation>Il sito non appartiene alle classi A, B, C, D, E o S1 (terreno alluvionale, ghiaia, sabbia, limo, argilla, roccia).</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="455"/>
        <source>The site is susceptible to liquefaction, or there is a layer of peat or highly organic clay thicker than 3 m.</source>
        <translation>Il sito è suscettibile di liquefazione, o c&apos;è uno strato di torba o di argilla altamente organica spesso più di 3 m.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="457"/>
        <source>The site is not susceptible to liquefaction and there is no layer of peat or highly organic clay thicker than 3 m.</source>
        <translation>Il sito non è suscettibile di liquefazione e non c&apos;è uno strato di torba o di argilla altamente organica spesso più di 3 m.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="459"/>
        <source>The site is susceptible to liquefaction or there is sensitive clay.</source>
        <translation>Il sito è suscettibile di liquefazione o ci sono argille sensitive.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="460"/>
        <source>The site is not susceptible to liquefaction or there is not sensitive clay.</source>
        <translation>Il sito non è suscettibile di liquefazione e non ci sono argille sensitive.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="464"/>
        <source>There is a silty or clayey layer thicker than 10 m with high level of water content.</source>
        <translation>C&apos;è uno strato limoso o argilloso spesso più di 10 m con elevato contenuto d&apos;acqua.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="466"/>
        <source>There is not a silty or clayey layer thicker than 10 m with high level of water content.</source>
        <translation>Non c&apos;è uno strato limoso o argilloso spesso più di 10 m con elevato contenuto d&apos;acqua.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="468"/>
        <source>There is a layer of fine-grained and low consistency soil with a thickness greater than 8m.</source>
        <translation>C&apos;è uno strato di terreno a grana fina di bassa consistenza spesso più di 8m.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="470"/>
        <source>There is no layer of fine-grained and low consistency soil with a thickness greater than 8m.</source>
        <translation>Non c&apos;è uno strato di terreno a grana fina di bassa consistenza spesso più di 8m.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="474"/>
        <source>Plasticity index is greater than 40%</source>
        <translation>L&apos;indice di plasticità è maggiore del 40%</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="475"/>
        <source>Plasticity index lower than 40%.</source>
        <translation>L&apos;indice di plasticità è minore del 40%.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="476"/>
        <source>There is a layer of peat or highly organic clay with a thickness greater than 3m.</source>
        <translation>C&apos;è uno strato di torba o di argilla altamente organica spesso più di 3m.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="478"/>
        <source>There is no layer of peat or highly organic clay with a thickness greater than 3m.</source>
        <translation>Non c&apos;è uno strato di torba o di argilla altamente organica spesso più di 3m.</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="482"/>
        <source>There is an alteration layer thicker than 5m</source>
        <translation>C&apos;è uno strato di alterazione spesso più di 5m</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="483"/>
        <source>There is no alteration layer thicker than 5m</source>
        <translation>Non c&apos;è uno strato di alterazione spesso più di 5m</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="484"/>
        <source>There is an alteration layer thicker than 3m</source>
        <translation>C&apos;è uno strato di alterazione spesso più di 3m</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="485"/>
        <source>There is no alteration layer thicker than 3m</source>
        <translation>Non c&apos;è uno strato di alterazione spesso più di 3m</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="487"/>
        <source>The mechanic characteristics of the layers gradually improve with depth</source>
        <translation>Le caratteristiche meccaniche degli strati migliorano gradualmente con la profondità</translation>
    </message>
    <message>
        <location filename="../results/ResultsForm.cpp" line="488"/>
        <source>The mechanic characteristics of the layers don&apos;t improve improve gradually with depth</source>
        <translation>Le caratteristiche meccaniche degli strati non migliorano gradualmente con la profondità</translation>
    </message>
</context>
<context>
    <name>SpectrumPageState</name>
    <message>
        <location filename="../spectrum/SpectrumPageState.cpp" line="31"/>
        <source>The minimum velocity must be a number above 0 m/s.</source>
        <translation>La velocità minima deve essere un numero maggiore di 0 m/s.</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumPageState.cpp" line="33"/>
        <source>The maximum velocity must be a number above the minimum velocity.</source>
        <translation>La velocità massima deve essere un numero maggiore della velocità minima.</translation>
    </message>
    <message>
        <location filename="../spectrum/SpectrumPageState.cpp" line="38"/>
        <source>No spectrum: read the traces on the experimental data page first.</source>
        <translation>Nessuno spettro: leggere prima le tracce nella pagina dei dati sperimentali.</translation>
    </message>
</context>
<context>
    <name>TraceChart</name>
    <message>
        <location filename="../data/TraceChart.cpp" line="12"/>
        <source>(%1 receivers, %2 time samples)</source>
        <translation>(%1 ricevitori, %2 campioni temporali)</translation>
    </message>
</context>
<context>
    <name>TraceReaders</name>
    <message>
        <location filename="../data/DrmReader.cpp" line="80"/>
        <source>DRM header line %1 is not of the form key=value</source>
        <translation>La riga %1 dell&apos;intestazione DRM non è nella forma chiave=valore</translation>
    </message>
    <message>
        <location filename="../data/DrmReader.cpp" line="113"/>
        <source>The DRM header gives no channels (&quot;numero canali&quot;)</source>
        <translation>L&apos;intestazione DRM non indica canali (&quot;numero canali&quot;)</translation>
    </message>
    <message>
        <location filename="../data/DrmReader.cpp" line="116"/>
        <source>The DRM header describes %1 channels; at most %2 are supported</source>
        <translation>L&apos;intestazione DRM descrive %1 canali; ne sono ammessi al massimo %2</translation>
    </message>
    <message>
        <location filename="../data/DrmReader.cpp" line="121"/>
        <source>The DRM header gives no samples (&quot;numero campioni&quot;)</source>
        <translation>L&apos;intestazione DRM non indica campioni (&quot;numero campioni&quot;)</translation>
    </message>
    <message>
        <location filename="../data/DrmReader.cpp" line="129"/>
        <source>Every channel of the DRM file is disabled</source>
        <translation>Tutti i canali del file DRM sono disabilitati</translation>
    </message>
    <message>
        <location filename="../data/DrmReader.cpp" line="132"/>
        <source>The DRM file is too short for %1 samples of %2 enabled channels</source>
        <translation>Il file DRM è troppo corto per %1 campioni di %2 canali abilitati</translation>
    </message>
    <message>
        <location filename="../data/ExcelTraceReader.cpp" line="19"/>
        <source>The sheet needs a time column, at least one trace column and at least two numeric rows</source>
        <translation>Il foglio deve avere una colonna dei tempi, almeno una colonna di tracce e almeno due righe numeriche</translation>
    </message>
    <message>
        <location filename="../data/Seg2Reader.cpp" line="118"/>
        <source>Not a SEG-2 file: the block identifier 0x3A55 is missing</source>
        <translation>Non è un file SEG-2: manca l&apos;identificatore di blocco 0x3A55</translation>
    </message>
    <message>
        <location filename="../data/Seg2Reader.cpp" line="123"/>
        <source>The SEG-2 file ends inside its file descriptor block</source>
        <translation>Il file SEG-2 termina dentro il blocco descrittore del file</translation>
    </message>
    <message>
        <location filename="../data/Seg2Reader.cpp" line="127"/>
        <source>The SEG-2 file holds no traces</source>
        <translation>Il file SEG-2 non contiene tracce</translation>
    </message>
    <message>
        <location filename="../data/Seg2Reader.cpp" line="129"/>
        <source>The SEG-2 file ends inside its trace pointers</source>
        <translation>Il file SEG-2 termina dentro i puntatori alle tracce</translation>
    </message>
    <message>
        <location filename="../data/Seg2Reader.cpp" line="141"/>
        <source>The first trace pointer of the SEG-2 file points outside the file</source>
        <translation>Il primo puntatore di traccia del file SEG-2 punta fuori dal file</translation>
    </message>
    <message>
        <location filename="../data/Seg2Reader.cpp" line="144"/>
        <source>The first trace of the SEG-2 file has no samples</source>
        <translation>La prima traccia del file SEG-2 non ha campioni</translation>
    </message>
    <message>
        <location filename="../data/Seg2Reader.cpp" line="149"/>
        <source>The SEG-2 file claims %1 samples per trace, more than the file can hold</source>
        <translation>Il file SEG-2 dichiara %1 campioni per traccia, più di quanti il file possa contenere</translation>
    </message>
    <message>
        <location filename="../data/Seg2Reader.cpp" line="183"/>
        <source>The descriptor of trace %1 lies outside the SEG-2 file</source>
        <translation>Il descrittore della traccia %1 è fuori dal file SEG-2</translation>
    </message>
    <message>
        <location filename="../data/Seg2Reader.cpp" line="195"/>
        <source>The SEG-2 file ends inside the samples of trace %1</source>
        <translation>Il file SEG-2 termina dentro i campioni della traccia %1</translation>
    </message>
    <message>
        <location filename="../data/SegyReader.cpp" line="42"/>
        <source>Unexpected end of SEGY file</source>
        <translation>Fine inattesa del file SEGY</translation>
    </message>
    <message>
        <location filename="../data/SegyReader.cpp" line="47"/>
        <source>Unexpected end of SEGY file (inside the file headers)</source>
        <translation>Fine inattesa del file SEGY (dentro le intestazioni del file)</translation>
    </message>
    <message>
        <location filename="../data/SegyReader.cpp" line="50"/>
        <source>This SEGY file uses a not compatible format</source>
        <translation>Questo file SEGY usa un formato non compatibile</translation>
    </message>
    <message>
        <location filename="../data/SegyReader.cpp" line="52"/>
        <source>This SEGY file uses a not compatible format (data sample format code %1; only 1, IBM float, and 5, IEEE float, are read)</source>
        <translation>Questo file SEGY usa un formato non compatibile (codice del formato dei campioni %1; si leggono solo 1, virgola mobile IBM, e 5, virgola mobile IEEE)</translation>
    </message>
    <message>
        <location filename="../data/SegyReader.cpp" line="58"/>
        <source>The SEGY binary header gives 0 samples per trace</source>
        <translation>L&apos;intestazione binaria SEGY indica 0 campioni per traccia</translation>
    </message>
    <message>
        <location filename="../data/SegyReader.cpp" line="68"/>
        <source>The SEGY file holds no traces</source>
        <translation>Il file SEGY non contiene tracce</translation>
    </message>
    <message>
        <location filename="../data/SegyReader.cpp" line="71"/>
        <source>The SEGY file holds too many traces</source>
        <translation>Il file SEGY contiene troppe tracce</translation>
    </message>
    <message>
        <location filename="../data/SegyReader.cpp" line="74"/>
        <source>Unexpected end of SEGY file (inside trace %1)</source>
        <translation>Fine inattesa del file SEGY (dentro la traccia %1)</translation>
    </message>
    <message>
        <location filename="../data/SuReader.cpp" line="40"/>
        <source>The SU file length is not a whole number of traces for the sample count at byte 114, in either byte order</source>
        <translation>La lunghezza del file SU non è un numero intero di tracce per il numero di campioni al byte 114, in nessuno dei due ordini dei byte</translation>
    </message>
    <message>
        <location filename="../data/SuReader.cpp" line="49"/>
        <source>The SU file holds too many traces</source>
        <translation>Il file SU contiene troppe tracce</translation>
    </message>
    <message>
        <location filename="../data/TextTraceReader.cpp" line="49"/>
        <source>Line %1: a data line needs a time and at least one trace value</source>
        <translation>Riga %1: una riga di dati deve contenere un tempo e almeno un valore di traccia</translation>
    </message>
    <message>
        <location filename="../data/TextTraceReader.cpp" line="56"/>
        <source>Line %1 holds %2 numbers where %3 are expected</source>
        <translation>La riga %1 contiene %2 numeri dove ne sono attesi %3</translation>
    </message>
    <message>
        <location filename="../data/TextTraceReader.cpp" line="69"/>
        <source>The file holds no data lines</source>
        <translation>Il file non contiene righe di dati</translation>
    </message>
    <message>
        <location filename="../data/TextTraceReader.cpp" line="76"/>
        <source>The file holds fewer than three data lines, so no time step can be derived from its time column</source>
        <translation>Il file contiene meno di tre righe di dati, quindi non si può ricavare il passo temporale dalla colonna dei tempi</translation>
    </message>
    <message>
        <location filename="../data/TraceFileReader.cpp" line="55"/>
        <source>Unsupported file extension (expected TXT, SEG2, SG2, DAT, SEGY, SGY, SU, XLS or DRM)</source>
        <translation>Estensione del file non supportata (attese TXT, SEG2, SG2, DAT, SEGY, SGY, SU, XLS o DRM)</translation>
    </message>
    <message>
        <location filename="../data/TraceFileReader.cpp" line="65"/>
        <location filename="../data/TraceFileReader.cpp" line="71"/>
        <source>Couldn&apos;t open source file</source>
        <translation>Impossibile aprire il file sorgente</translation>
    </message>
    <message>
        <location filename="../data/DrmReader.cpp" line="156"/>
        <source>samples per second</source>
        <translation>campioni al secondo</translation>
    </message>
    <message>
        <location filename="../data/ExcelTraceReader.cpp" line="35"/>
        <location filename="../data/SegyReader.cpp" line="93"/>
        <location filename="../data/SuReader.cpp" line="71"/>
        <source>microseconds</source>
        <translation>microsecondi</translation>
    </message>
    <message>
        <location filename="../data/Seg2Reader.cpp" line="161"/>
        <location filename="../data/TextTraceReader.cpp" line="85"/>
        <source>seconds</source>
        <translation>secondi</translation>
    </message>
</context>
<context>
    <name>TraceSet</name>
    <message>
        <location filename="../data/TraceSet.cpp" line="52"/>
        <source>The traces cannot be merged (they have a different number of time samples)</source>
        <translation>Le tracce non possono essere unite (hanno un numero diverso di campioni temporali)</translation>
    </message>
</context>
<context>
    <name>TraceStack</name>
    <message>
        <location filename="../data/TraceStack.cpp" line="19"/>
        <location filename="../data/TraceStack.cpp" line="52"/>
        <source>The record to stack was not read</source>
        <translation>La registrazione da sommare non è stata letta</translation>
    </message>
    <message>
        <location filename="../data/TraceStack.cpp" line="25"/>
        <location filename="../data/TraceStack.cpp" line="54"/>
        <source>The records cannot be stacked (they have a different number of traces)</source>
        <translation>Le registrazioni non possono essere sommate (hanno un numero diverso di tracce)</translation>
    </message>
    <message>
        <location filename="../data/TraceStack.cpp" line="28"/>
        <location filename="../data/TraceStack.cpp" line="57"/>
        <source>The records cannot be stacked (they have a different number of time samples)</source>
        <translation>Le registrazioni non possono essere sommate (hanno un numero diverso di campioni temporali)</translation>
    </message>
    <message>
        <location filename="../data/TraceStack.cpp" line="33"/>
        <location filename="../data/TraceStack.cpp" line="61"/>
        <source>The records cannot be stacked (they have a different time step)</source>
        <translation>Le registrazioni non possono essere sommate (hanno un passo temporale diverso)</translation>
    </message>
</context>
</TS>
