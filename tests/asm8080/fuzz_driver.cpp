// Runs the fuzz entry point on a fixed, reproducible stream of random and
// mutated sources, so that it takes part in every test run (and in the
// sanitizer build) without libFuzzer.

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

const std::vector<std::string> kSeeds = {
    "; test\nBEGIN\tEQU\t8000h\n\tORG\tBEGIN-016h\n\n\tDB\t\"RIZI/2.0/\"\n\tDB\t0D0h\n\tDB\t\"PROBA1\"\n"
    "\tDW\tBEGIN\n\tDW\tBEGIN+END-START\n\tDW\tBEGIN\n\nSTART:\tMVI A,00h ;example\nLAB1:   OUT 0C1h\n"
    "        INR A\n        JMP LAB1\nEND\n",
    "\tORG 100h\nL1:\tLXI SP,0AFC1h\n\tCALL SUB\n\tJMP L1\nSUB:\tPUSH PSW\n\tMOV A,M\n\tPOP PSW\n\tRET\n"
    "\tDS 4\nTAB:\tDW L1,SUB,TAB+2\n\tDB 'x',\"yz\",1,2,3\n",
    "X EQU Y*2\nY EQU (3 SHL 2) OR 1\n\tDB HIGH X, LOW X, NOT 0 AND 0FFh, 7 MOD 3\n\tRST X/26\n\tEND\n",
};

const std::vector<std::string> kWords = {
    "MOV", "MVI", "LXI", "JMP", "CALL", "RET", "DB", "DW", "DS", "ORG", "EQU", "END", "RST", "PUSH", "POP",
    "IN", "OUT", "A", "B", "M", "SP", "PSW", "H", "HIGH", "LOW", "NOT", "AND", "OR", "XOR", "MOD", "SHL", "SHR",
    "LAB", "X", "$", "0FFFFh", "10000h", "256", "-257", "0", "7", "1011b", "17q", "'", "\"", "''", "'ab'",
    "\"text\"", ",", ":", "(", ")", "+", "-", "*", "/", ";", "\t", " ", "\n", "\r\n", "0ZZh", "((((",
};

std::string randomSource(std::mt19937& rng)
{
    std::string s;
    int n = static_cast<int>(rng() % 60);
    for (int i = 0; i < n; ++i) {
        if (rng() % 10 == 0)
            s += static_cast<char>(rng() % 256);
        else
            s += kWords[rng() % kWords.size()];
        if (rng() % 3 == 0)
            s += ' ';
    }
    return s;
}

std::string mutate(std::string s, std::mt19937& rng)
{
    int edits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < edits; ++i) {
        std::size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
        switch (rng() % 4) {
        case 0:
            if (at < s.size())
                s[at] = static_cast<char>(rng() % 256);
            break;
        case 1:
            if (at < s.size())
                s.erase(at, 1 + rng() % 8);
            break;
        case 2: s.insert(at, kWords[rng() % kWords.size()]); break;
        default: {
            // Splice in a slice of another seed.
            const std::string& other = kSeeds[rng() % kSeeds.size()];
            std::size_t from = rng() % other.size();
            s.insert(at, other.substr(from, rng() % 40));
            break;
        }
        }
    }
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 3000;
    std::mt19937 rng(0x8080);
    for (const auto& seed : kSeeds)
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(seed.data()), seed.size());
    for (int i = 0; i < runs; ++i) {
        std::string s = (i % 2 == 0) ? randomSource(rng) : mutate(kSeeds[rng() % kSeeds.size()], rng);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    }
    return 0;
}
