// The capture program's version, written once: the version resource of the
// program file takes it from here, and the About box reads it from that
// resource.
#pragma once
#define MERIDOT_VERSION_MAJOR 2
#define MERIDOT_VERSION_MINOR 51
#define MERIDOT_VERSION_TEXT "2.51"
