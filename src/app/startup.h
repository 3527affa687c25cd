// Start-up: reads the command line, opens the first window and runs the game.
#pragma once

int RunTavolnik(int argc, char* argv[]);
