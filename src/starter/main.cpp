#include "model/ModelContext.h"
#include "starter/StarterLibrary.h"

#include <exception>
#include <iostream>
#include <string>

// Writes the starter library to the path given as the only argument.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: pelmora-starter OUTPUT.pmr\n";
        return 2;
    }
    IdCounter ids;
    ScopedModelContext context({&ids, nullptr, nullptr, nullptr});
    std::string error;
    try {
        const StarterLibrary library;
        if (saveLibraryFile(argv[1], library.contents(), error))
            return 0;
    } catch (const std::exception& e) {
        error = e.what();
    }
    std::cerr << "pelmora-starter: " << error << "\n";
    return 1;
}
