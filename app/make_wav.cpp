// Writes the program's two sounds into a folder: koma.wav, the click of a
// piece set on the board, and msg.wav, a two-tone chime for messages.
// 16-bit mono PCM at 22050 Hz.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;

void put32(std::FILE* f, uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

void put16(std::FILE* f, uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f);
}

bool writeWav(const std::string& path, const std::vector<double>& samples) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const auto bytes = static_cast<uint32_t>(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1);  // PCM
    put16(f, 1);  // mono
    put32(f, kRate);
    put32(f, kRate * 2);
    put16(f, 2);
    put16(f, 16);
    std::fwrite("data", 1, 4, f);
    put32(f, bytes);
    for (double s : samples) {
        const double clipped = s > 1 ? 1 : (s < -1 ? -1 : s);
        put16(f, static_cast<uint16_t>(static_cast<int16_t>(clipped * 32000)));
    }
    return std::fclose(f) == 0;
}

// A hard, quickly damped knock with a little noise: wood on wood.
std::vector<double> pieceClick() {
    std::vector<double> s(kRate * 12 / 100);
    uint32_t noise = 1;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        noise = noise * 1664525u + 1013904223u;
        const double hiss = static_cast<double>(noise >> 16) / 32768.0 - 1.0;
        const double body = std::sin(2 * std::numbers::pi * 820 * t) +
                            0.5 * std::sin(2 * std::numbers::pi * 1930 * t);
        s[i] = (0.7 * body * std::exp(-t * 70) + 0.5 * hiss * std::exp(-t * 400)) * 0.8;
    }
    return s;
}

// Two soft bell tones, a fourth apart.
std::vector<double> messageChime() {
    std::vector<double> s(kRate * 45 / 100);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double first = std::sin(2 * std::numbers::pi * 880 * t) * std::exp(-t * 9);
        const double second = t < 0.15 ? 0
                                       : std::sin(2 * std::numbers::pi * 1174.7 * (t - 0.15)) *
                                             std::exp(-(t - 0.15) * 9);
        s[i] = 0.45 * (first + second);
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nusari_make_wav FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (!writeWav(folder + "/koma.wav", pieceClick()) ||
        !writeWav(folder + "/msg.wav", messageChime())) {
        std::fprintf(stderr, "nusari_make_wav: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
