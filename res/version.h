// The one place the version number lives: the resource script and the code both read it.
#pragma once

#define MORROWBY_VERSION_MAJOR 1
#define MORROWBY_VERSION_MINOR 0
#define MORROWBY_VERSION_PATCH 1
#define MORROWBY_VERSION_BUILD 1

#define MORROWBY_STRINGIFY2(x) #x
#define MORROWBY_STRINGIFY(x) MORROWBY_STRINGIFY2(x)
#define MORROWBY_VERSION_TEXT                                                                      \
    MORROWBY_STRINGIFY(MORROWBY_VERSION_MAJOR)                                                     \
    "." MORROWBY_STRINGIFY(MORROWBY_VERSION_MINOR) "." MORROWBY_STRINGIFY(                         \
        MORROWBY_VERSION_PATCH) "." MORROWBY_STRINGIFY(MORROWBY_VERSION_BUILD)

#define MORROWBY_PRODUCT_NAME "Morrowby"
#define MORROWBY_MAKER_NAME "Orvane"
#define MORROWBY_COPYRIGHT "Copyright (C) 2026 Orvane. All rights reserved."
#define MORROWBY_COMMENTS "Safe screen time for little hands"
// Shown by the About command as the splash window's status line.
#define MORROWBY_WEB_ADDRESS "https://www.orvane.com/"
