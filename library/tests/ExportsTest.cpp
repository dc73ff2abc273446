// SPDX-License-Identifier: MIT
// The shared object as other programs see it: it exports exactly the names
// of the export table quellis.def, each one resolvable by name at run time.
#include "ExportTable.h"
#include "quellis.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using export_table::Export;

std::vector<Export> exportTable() {
    return export_table::read(QUELLIS_EXPORT_TABLE_PATH);
}

// The defined global symbols of a 64-bit ELF shared object's dynamic symbol
// table, without the absolute symbols that name its version nodes.
std::set<std::string> definedDynamicSymbols(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file{std::istreambuf_iterator<char>(in), {}};
    std::set<std::string> names;
    if (file.size() < sizeof(Elf64_Ehdr)) {
        ADD_FAILURE() << "cannot read " << path;
        return names;
    }
    Elf64_Ehdr header;
    std::memcpy(&header, file.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64) {
        ADD_FAILURE() << path << " is no 64-bit ELF file";
        return names;
    }
    const auto section = [&](std::size_t index) {
        Elf64_Shdr s;
        std::memcpy(&s, file.data() + header.e_shoff + index * header.e_shentsize, sizeof s);
        return s;
    };
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        const Elf64_Shdr symbols = section(i);
        if (symbols.sh_type != SHT_DYNSYM) {
            continue;
        }
        const Elf64_Shdr strings = section(symbols.sh_link);
        for (std::size_t offset = 0; offset + sizeof(Elf64_Sym) <= symbols.sh_size;
             offset += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol;
            std::memcpy(&symbol, file.data() + symbols.sh_offset + offset, sizeof symbol);
            const unsigned binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || symbol.st_shndx == SHN_ABS ||
                (binding != STB_GLOBAL && binding != STB_WEAK)) {
                continue;
            }
            names.insert(file.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

TEST(ExportTable, OrdinalsRunFromOneWithoutGaps) {
    const std::vector<Export> table = exportTable();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].ordinal, static_cast<int>(i) + 1) << table[i].name;
    }
    // The two the fitting program binds by ordinal.
    ASSERT_GE(table.size(), 21u);
    EXPECT_EQ(table[5].name, "PowCom");
    EXPECT_EQ(table[20].name, "ScatMatrix");
}

TEST(ExportTable, SharedObjectExportsExactlyTheTable) {
    std::set<std::string> expected;
    for (const Export& e : exportTable()) {
        expected.insert(e.name);
    }
    EXPECT_EQ(definedDynamicSymbols(QUELLIS_LIBRARY_PATH), expected);
}

TEST(ExportTable, EveryExportResolvesByNameAtRunTime) {
    void* library = dlopen(QUELLIS_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const Export& e : exportTable()) {
        EXPECT_NE(dlsym(library, e.name.c_str()), nullptr) << e.name;
    }
    // The two bindings of the fitting program, called through the pointers.
    using PowFn = void(QUELLIS_CALL*)(const TComplex*, TComplex*, double);
    using ScatFn = void(QUELLIS_CALL*)(const TComplex*, const TComplex*, TComplex*, double,
                                       TComplex*, TComplex*, TComplex*);
    const auto pow = reinterpret_cast<PowFn>(dlsym(library, "PowCom"));
    const auto scat = reinterpret_cast<ScatFn>(dlsym(library, "ScatMatrix"));
    ASSERT_NE(pow, nullptr);
    ASSERT_NE(scat, nullptr);
    const TComplex minusFour{-4, 0};
    TComplex root;
    pow(&minusFour, &root, 0.5);
    EXPECT_DOUBLE_EQ(root.Im, 2.0);
    const TComplex x{1, 0}, m{1.5, 0};
    TComplex s11, s12, s33, s34;
    scat(&x, &m, &s11, 2.0933333333333333, &s12, &s33, &s34);
    TComplex direct11, direct12, direct33, direct34;
    ScatMatrix(&x, &m, &direct11, 2.0933333333333333, &direct12, &direct33, &direct34);
    EXPECT_EQ(s11.Re, direct11.Re);
    EXPECT_EQ(s12.Re, direct12.Re);
    dlclose(library);
}

} // namespace
