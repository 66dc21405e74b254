// The viewer's version, written once: the version resource of the program
// file takes it from here, and the About box reads it from that resource.
#pragma once
#define KALDERO_VERSION_MAJOR 2
#define KALDERO_VERSION_MINOR 45
#define KALDERO_VERSION_TEXT "2.45"
