// SPDX-License-Identifier: MIT
// The library's export table as the module-definition file quellis.def gives
// it: the "Name @ordinal" lines of its EXPORTS section, in file order.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace export_table {

struct Export {
    std::string name;
    int ordinal;
};

inline std::vector<Export> read(const char* path) {
    std::ifstream in(path);
    std::vector<Export> table;
    std::string line;
    bool inExports = false;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string name, ordinal;
        words >> name >> ordinal;
        if (name == "EXPORTS") {
            inExports = true;
        } else if (inExports && !name.empty() && ordinal.size() > 1 && ordinal[0] == '@') {
            table.push_back({name, std::stoi(ordinal.substr(1))});
        }
    }
    return table;
}

} // namespace export_table
