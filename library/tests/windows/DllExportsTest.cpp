// quellis.dll as a Windows program that loads it at run time sees it: the
// loader finds it by name, its export directory holds exactly the table of
// quellis.def (plain names, ordinals from 1), GetProcAddress by name and by
// ordinal lead to the same function, it imports only from Windows' own
// DLLs, and the functions behind ordinals 6, 19, 20 and 21 give published
// values when called as __stdcall.
#include "../ExportTable.h"
#include "quellis.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cmath>
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
    static const IMAGE_DATA_DIRECTORY& directory(int entry) {
        const auto* dos = at<IMAGE_DOS_HEADER>(0);
        const auto* nt = at<IMAGE_NT_HEADERS32>(static_cast<DWORD>(dos->e_lfanew));
        return nt->OptionalHeader.DataDirectory[entry];
    }

    static HMODULE module;
};

HMODULE QuellisDll::module = nullptr;

TEST_F(QuellisDll, IsA32BitX86Image) {
    const auto* dos = at<IMAGE_DOS_HEADER>(0);
    const auto* nt = at<IMAGE_NT_HEADERS32>(static_cast<DWORD>(dos->e_lfanew));
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_NE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL, 0);
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

// Published efficiencies (H. Du, Appl. Opt. 43 (2004) 1951, Table 1), given
// to seven digits.
struct PublishedSphere {
    double x;
    TComplex m;
    double qext, qsca, qback;
};
constexpr PublishedSphere kDuTable[] = {
    {1, {10, 10}, 2.532993, 2.049405, 3.308997},
    {10, {0.75, 0}, 2.232265, 2.232265, 0.04658441},
    {100, {1.5, 1}, 2.097502, 1.283697, 0.1724214},
};

TEST_F(QuellisDll, Ordinal19GivesPublishedEfficiencies) {
    const auto crossSection = function<CrossSectionFn>(19);
    ASSERT_NE(crossSection, nullptr);
    for (const PublishedSphere& s : kDuTable) {
        SCOPED_TRACE(s.x);
        const TComplex x{s.x, 0};
        double qsca = 0, qext = 0, qback = 0;
        crossSection(&x, &s.m, &qsca, &qext, &qback);
        EXPECT_NEAR(qext, s.qext, 1e-6 * s.qext);
        EXPECT_NEAR(qsca, s.qsca, 1e-6 * s.qsca);
        EXPECT_NEAR(qback, s.qback, 1e-6 * s.qback);
    }
}

// The amplitudes meet the published efficiencies through the optical
// theorem, Qext = 4/x^2 Re S(0), and Qback = 4/x^2 |S1(pi)|^2, with
// S1 = S2 forward and S2 = -S1 backward.
TEST_F(QuellisDll, Ordinal20GivesAmplitudesOfThePublishedEfficiencies) {
    const auto amplMatrix = function<AmplMatrixFn>(20);
    ASSERT_NE(amplMatrix, nullptr);
    for (const PublishedSphere& s : kDuTable) {
        SCOPED_TRACE(s.x);
        const TComplex x{s.x, 0};
        TComplex s1{}, s2{};
        amplMatrix(&x, &s.m, &s1, 0, &s2);
        const double scale = 4 / (s.x * s.x);
        EXPECT_NEAR(scale * s1.Re, s.qext, 1e-6 * s.qext);
        EXPECT_NEAR(s2.Re, s1.Re, 1e-12 * std::abs(s1.Re));
        EXPECT_NEAR(s2.Im, s1.Im, 1e-12 * std::hypot(s1.Re, s1.Im));

        amplMatrix(&x, &s.m, &s1, std::numbers::pi, &s2);
        EXPECT_NEAR(scale * (s1.Re * s1.Re + s1.Im * s1.Im), s.qback, 1e-6 * s.qback);
        const double size = std::hypot(s1.Re, s1.Im);
        EXPECT_NEAR(s2.Re, -s1.Re, 1e-10 * size);
        EXPECT_NEAR(s2.Im, -s1.Im, 1e-10 * size);
    }
}

// Phase-matrix ratios of Bohren and Huffman (1983) for x = 5.213, m = 1.55,
// published to about 1e-3.
TEST_F(QuellisDll, Ordinal21GivesThePublishedPhaseMatrix) {
    const auto scatMatrix = function<ScatMatrixFn>(21);
    ASSERT_NE(scatMatrix, nullptr);
    const TComplex x{5.213, 0}, m{1.55, 0};
    TComplex s11{}, s12{}, s33{}, s34{};
    scatMatrix(&x, &m, &s11, 0, &s12, &s33, &s34);
    const double forward = s11.Re;
    ASSERT_GT(forward, 0);
    const struct {
        double degrees, s11, minusS12, s33, s34;
    } rows[] = {{45, 0.0701845, 0.00959953, 0.959825, -0.280434},
                {90, 0.0124601, 0.230462, 0.937497, 0.260742},
                {180, 0.0383189, 0, -1, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.degrees);
        scatMatrix(&x, &m, &s11, row.degrees * std::numbers::pi / 180, &s12, &s33, &s34);
        EXPECT_NEAR(s11.Re / forward, row.s11, 1e-3 * row.s11);
        EXPECT_NEAR(-s12.Re / s11.Re, row.minusS12, 1e-3);
        EXPECT_NEAR(s33.Re / s11.Re, row.s33, 1e-3);
        EXPECT_NEAR(s34.Re / s11.Re, row.s34, 1e-3);
        EXPECT_EQ(s11.Im, 0);
        EXPECT_EQ(s12.Im, 0);
    }
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
