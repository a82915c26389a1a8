#include "host/cli/commands.h"

int main(int argc, char** argv) {
    return explorer_cli::Run(std::vector<std::string>(argv + 1, argv + argc));
}
