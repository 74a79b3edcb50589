#include "game/startup.h"

int main(int argc, char** argv) { return zorbel_main(argc, argv); }
