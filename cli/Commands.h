// The sub-commands of vela-cli. Each takes the arguments after its own name and
// returns the process exit code: 0 success, 2 bad input, 1 other failures.
#ifndef VELA_CLI_COMMANDS_H
#define VELA_CLI_COMMANDS_H

int CmdModes(int argc, char **argv);
int CmdForward(int argc, char **argv);
int CmdInvert(int argc, char **argv);
int CmdTraces(int argc, char **argv);
int CmdSpectrum(int argc, char **argv);
int CmdClassify(int argc, char **argv);
int CmdPassive(int argc, char **argv);
int CmdProfile(int argc, char **argv);
int CmdMap(int argc, char **argv);
int CmdAnalyse(int argc, char **argv);

#endif // VELA_CLI_COMMANDS_H
