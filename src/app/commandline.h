#pragma once

// The designer's batch commands, which need no display:
//   --check FILE            opens FILE as File Open does; prints "OK" or the message
//   --resave IN OUT         opens IN and saves it to OUT as File Save does
//   --render IN -o OUT.png  [--size WxH] [--grid 0|1]  draws IN's page as the view would
// plus --help and --version.

// True when the arguments ask for a batch command (or for help or the version).
bool IsBatchCommand(int argc, char **argv);

// Runs the batch command; the process exit code.
int RunBatchCommand(int argc, char **argv);
