// Claims an instance name, says whether it won, and holds the claim until
// its standard input closes.
#include <iostream>
#include <string>

#include "platform/platform.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::cout << (platform::claim_single_instance(argv[1]) ? "won" : "lost") << std::endl;
    std::string line;
    std::getline(std::cin, line);
    return 0;
}
