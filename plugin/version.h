// The plug-in's version, defined once for the resource and the code.
#pragma once

#define SWIVO_VERSION_MAJOR 1
#define SWIVO_VERSION_MINOR 0
#define SWIVO_VERSION_BUILD 11
#define SWIVO_VERSION_RELEASE 35
#define SWIVO_FILE_VERSION_TEXT "1.0.11.35"
