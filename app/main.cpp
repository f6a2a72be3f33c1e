// Entry point of the alignment utility.
#include "app/common/Product.h"

#include <iostream>

int main() {
    std::cout << product::Title << ": the main window is not built yet.\n";
    return 0;
}
