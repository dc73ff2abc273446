// SPDX-License-Identifier: MIT
// quellis.dll as a Windows program that loads it at run time sees it: the
// loader finds it by name, its export directory holds exactly the table of
// quellis.def (plain names, ordinals from 1), GetProcAddress by name and by
// ordinal lead to the same function, it imports only from Windows' own
// DLLs, and the functions behind ordinals 6, 19, 20 and 21, called as
// __stdcall, give the values of the library's own tests.
#include "../ExportTable.h"
#include "../PublishedValues.h"
#include "quellis.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace {

using PowComFn = void(QUELLIS_CALL*)(const TComplex*, TComplex*, double);
using CrossSectionFn = void(QUELLIS_CALL*)(const TComplex*, const TComplex*, double*, double*,
                                           double*);
using AmplMatrixFn = void(QUELLIS_CALL*)(const TComplex*, const TComplex*, TComplex*, double,
                                         TComplex*);
using ScatMatrixFn = void(QUELLIS_CALL*)(const TComplex*, const TComplex*, TComplex*, double,
                                         TComplex*, TComplex*, TComplex*);

std::vector<export_table::Export> exportTable() {
    return export_table::read(QUELLIS_EXPORT_TABLE_PATH);
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class QuellisDll : public ::testing::Test {
protected:
    static void SetUpTestSuite() { module = LoadLibraryA("quellis.dll"); }
    static void TearDownTestSuite() {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
    void SetUp() override { ASSERT_NE(module, nullptr) << "LoadLibrary: error " << GetLastError(); }

    static FARPROC byName(const std::string& name) { return GetProcAddress(module, name.c_str()); }
    static FARPROC byOrdinal(int ordinal) {
        return GetProcAddress(module, MAKEINTRESOURCEA(static_cast<WORD>(ordinal)));
    }
    // The function behind an ordinal as the pointer type of its prototype.
    template <typename Function> static Function function(int ordinal) {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(byOrdinal(ordinal)));
    }

    // A structure of the loaded image at a relative virtual address.
    template <typename T> static const T* at(DWORD rva) {
        return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(module) + rva);
    }
    static const IMAGE_NT_HEADERS32& headers() {
        return *at<IMAGE_NT_HEADERS32>(static_cast<DWORD>(at<IMAGE_DOS_HEADER>(0)->e_lfanew));
    }
    static const IMAGE_DATA_DIRECTORY& directory(int entry) {
        return headers().OptionalHeader.DataDirectory[entry];
    }

    static HMODULE module;
};

HMODULE QuellisDll::module = nullptr;

TEST_F(QuellisDll, IsA32BitX86Image) {
    EXPECT_EQ(headers().FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(headers().OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_NE(headers().FileHeader.Characteristics & IMAGE_FILE_DLL, 0);
}

TEST_F(QuellisDll, ExportDirectoryHoldsExactlyTheTable) {
    const std::vector<export_table::Export> table = exportTable();
    ASSERT_EQ(table.size(), 32u);
    const IMAGE_DATA_DIRECTORY& entry = directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    ASSERT_NE(entry.VirtualAddress, 0u);
    const auto* exports = at<IMAGE_EXPORT_DIRECTORY>(entry.VirtualAddress);
    EXPECT_STREQ(at<char>(exports->Name), "quellis.dll");
    EXPECT_EQ(exports->Base, 1u);
    EXPECT_EQ(exports->NumberOfFunctions, table.size());
    ASSERT_EQ(exports->NumberOfNames, table.size());

    // Each exported name with the ordinal the directory gives it.
    const auto* names = at<DWORD>(exports->AddressOfNames);
    const auto* ordinalIndices = at<WORD>(exports->AddressOfNameOrdinals);
    std::set<std::pair<std::string, int>> exported;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        exported.insert({at<char>(names[i]), static_cast<int>(exports->Base + ordinalIndices[i])});
    }
    std::set<std::pair<std::string, int>> expected;
    for (const export_table::Export& e : table) {
        expected.insert({e.name, e.ordinal});
    }
    EXPECT_EQ(exported, expected);
}

TEST_F(QuellisDll, NameAndOrdinalGiveTheSameFunction) {
    const std::vector<export_table::Export> table = exportTable();
    ASSERT_EQ(table.size(), 32u);
    std::set<FARPROC> distinct;
    for (const export_table::Export& e : table) {
        SCOPED_TRACE(e.name);
        const FARPROC named = byName(e.name);
        EXPECT_NE(named, nullptr);
        EXPECT_EQ(named, byOrdinal(e.ordinal));
        distinct.insert(named);
    }
    EXPECT_EQ(distinct.size(), table.size());
    EXPECT_EQ(byOrdinal(0), nullptr);
    EXPECT_EQ(byOrdinal(33), nullptr);
}

TEST_F(QuellisDll, ImportsOnlyWindowsOwnDlls) {
    const std::set<std::string> system{"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll",
                                       "ntdll.dll"};
    const IMAGE_DATA_DIRECTORY& entry = directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    ASSERT_NE(entry.VirtualAddress, 0u);
    int count = 0;
    for (const auto* import = at<IMAGE_IMPORT_DESCRIPTOR>(entry.VirtualAddress); import->Name != 0;
         ++import, ++count) {
        const std::string name = lowerCase(at<char>(import->Name));
        EXPECT_TRUE(system.count(name)) << name << " is not one of Windows' own DLLs";
    }
    EXPECT_GT(count, 0);
}

TEST_F(QuellisDll, Ordinal6RaisesToARealPower) {
    const auto powCom = function<PowComFn>(6);
    ASSERT_NE(powCom, nullptr);
    // sqrt(-4) on the principal branch: 2*(cos(pi/2), sin(pi/2)), the real
    // part the residue 2*cos of pi/2 rounded to double, about 1.2246e-16.
    const TComplex minusFour{-4, 0};
    TComplex r{};
    powCom(&minusFour, &r, 0.5);
    EXPECT_NEAR(r.Re, 1.2246e-16, 1e-20);
    EXPECT_NEAR(r.Im, 2.0, 4e-16);
    // sqrt(-9i) = 3*(cos(-pi/4), sin(-pi/4)).
    const TComplex minusNineI{0, -9};
    powCom(&minusNineI, &r, 0.5);
    EXPECT_NEAR(r.Re, 3 / std::numbers::sqrt2, 1e-15);
    EXPECT_NEAR(r.Im, -3 / std::numbers::sqrt2, 1e-15);
    // (1+i)^3 = -2 + 2i; and 0 to a negative power is 0.
    const TComplex onePlusI{1, 1};
    powCom(&onePlusI, &r, 3);
    EXPECT_NEAR(r.Re, -2, 1e-14);
    EXPECT_NEAR(r.Im, 2, 1e-14);
    const TComplex zero{0, 0};
    powCom(&zero, &r, -1);
    EXPECT_EQ(r.Re, 0);
    EXPECT_EQ(r.Im, 0);
}

TEST_F(QuellisDll, Ordinal19GivesPublishedEfficiencies) {
    const auto crossSection = function<CrossSectionFn>(19);
    ASSERT_NE(crossSection, nullptr);
    published::expectDuTable(crossSection);
}

// The amplitudes meet the published efficiencies through the optical
// theorem, Qext = 4/x^2 Re S1(0) = 4/x^2 Re S2(0), and through
// Qback = 4/x^2 |S1(pi)|^2 = 4/x^2 |S2(pi)|^2.
TEST_F(QuellisDll, Ordinal20GivesAmplitudesOfThePublishedEfficiencies) {
    const auto amplMatrix = function<AmplMatrixFn>(20);
    ASSERT_NE(amplMatrix, nullptr);
    for (const published::Sphere& p : published::kDuTable) {
        SCOPED_TRACE(testing::Message()
                     << "x = " << p.x << ", m = " << p.mRe << " + " << p.mIm << "i");
        const TComplex x{p.x, 0}, m{p.mRe, p.mIm};
        const double scale = 4 / (p.x * p.x);
        TComplex s1{}, s2{};
        amplMatrix(&x, &m, &s1, 0, &s2);
        published::expectDigits(scale * s1.Re, p.qext, 7);
        published::expectDigits(scale * s2.Re, p.qext, 7);

        amplMatrix(&x, &m, &s1, std::numbers::pi, &s2);
        published::expectDigits(scale * (s1.Re * s1.Re + s1.Im * s1.Im), p.qback, p.backDigits);
        published::expectDigits(scale * (s2.Re * s2.Re + s2.Im * s2.Im), p.qback, p.backDigits);
    }
}

TEST_F(QuellisDll, Ordinal21GivesThePublishedPhaseMatrix) {
    const auto scatMatrix = function<ScatMatrixFn>(21);
    ASSERT_NE(scatMatrix, nullptr);
    published::expectBohrenHuffmanPhaseMatrix(scatMatrix);
}

// Ordinal 21 is formed from ordinal 20: S11 = (|S1|^2+|S2|^2)/2 and
// S12 = (|S2|^2-|S1|^2)/2 of the same sphere at the same angle.
TEST_F(QuellisDll, Ordinal21AgreesWithOrdinal20) {
    const auto amplMatrix = function<AmplMatrixFn>(20);
    const auto scatMatrix = function<ScatMatrixFn>(21);
    ASSERT_NE(amplMatrix, nullptr);
    ASSERT_NE(scatMatrix, nullptr);
    const TComplex x{3.7, 0}, m{1.33, 0.02};
    const double theta = 1.1;
    TComplex s1{}, s2{}, s11{}, s12{}, s33{}, s34{};
    amplMatrix(&x, &m, &s1, theta, &s2);
    scatMatrix(&x, &m, &s11, theta, &s12, &s33, &s34);
    const double n1 = s1.Re * s1.Re + s1.Im * s1.Im;
    const double n2 = s2.Re * s2.Re + s2.Im * s2.Im;
    EXPECT_NEAR(s11.Re, (n1 + n2) / 2, 1e-12 * (n1 + n2));
    EXPECT_NEAR(s12.Re, (n2 - n1) / 2, 1e-12 * (n1 + n2));
    EXPECT_NEAR(s33.Re, s1.Re * s2.Re + s1.Im * s2.Im, 1e-12 * (n1 + n2));
    EXPECT_NEAR(s34.Re, s2.Im * s1.Re - s2.Re * s1.Im, 1e-12 * (n1 + n2));
}

} // namespace
