// Entry point of the alignment utility.
#include "app/start.h"

int main(int argc, char** argv) {
    return Main(argc, argv);
}
