// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point of the alignment utility.
#include "app/start.h"

int main(int argc, char** argv) {
    return Main(argc, argv);
}
