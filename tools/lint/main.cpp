// curdovar-lint: checks level files before they ship.
//
//   curdovar-lint FILE...
//
// Prints one line per problem, "FILE:column:row: error: ..." or a warning;
// exit status 0 when every file is clean, 1 otherwise, 2 without files.
#include "tools/common/LevelCheck.h"
#include "tools/common/Headless.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: curdovar-lint FILE...\n";
        return 2;
    }
    // The checker loads each level the way the game does, images included.
    if (!startHeadless(32)) return 2;
    std::size_t counted = 0;
    for (int i = 1; i < argc; ++i) {
        const LevelCheck check = checkLevelFile(argv[i]);
        for (const LevelProblem& problem : check.problems)
            std::cout << formatProblem(argv[i], problem) << '\n';
        counted += check.problems.size();
    }
    stopHeadless();
    if (counted == 0) std::cout << argc - 1 << " level file(s) clean\n";
    return counted == 0 ? 0 : 1;
}
