// Makes the window's sounds at build time, so the program ships no recorded
// audio: a wooden click for a move, two falling notes for a pass, a rising
// chime for the end of the game. Each is a 16-bit mono WAV file.
//
//   kaimo-synth-sounds DIR   writes DIR/move.wav, DIR/pass.wav, DIR/end.wav
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
using Samples = std::vector<double>;  // -1..1

int sampleCount(double seconds) { return static_cast<int>(seconds * kRate); }

// A sine of `hz` starting at `start` seconds, decaying by e every `decay`
// seconds after a short rise (no click at its start), added into `out`.
void addTone(Samples& out, double start, double seconds, double hz, double level, double decay) {
  constexpr double kRise = 0.004;
  const int first = sampleCount(start);
  for (int i = 0; i < sampleCount(seconds) && first + i < static_cast<int>(out.size()); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double envelope = std::min(1.0, t / kRise) * std::exp(-t / decay);
    out[first + i] += level * envelope * std::sin(2 * std::numbers::pi * hz * t);
  }
}

// Noise that dies away at once: the knock of a disc on the board. A fixed
// generator, so every build makes the same file.
void addKnock(Samples& out, double level, double decay) {
  std::uint32_t state = 12345;
  for (int i = 0; i < static_cast<int>(out.size()); ++i) {
    state = state * 1664525u + 1013904223u;
    const double noise = static_cast<double>(state >> 8) / (1u << 24) * 2 - 1;
    out[i] += level * noise * std::exp(-static_cast<double>(i) / kRate / decay);
  }
}

Samples moveSound() {
  Samples s(sampleCount(0.09));
  addKnock(s, 0.35, 0.004);
  addTone(s, 0, 0.09, 950, 0.45, 0.018);
  addTone(s, 0, 0.09, 1900, 0.15, 0.010);
  return s;
}

Samples passSound() {
  Samples s(sampleCount(0.36));
  addTone(s, 0.00, 0.18, 660, 0.35, 0.08);
  addTone(s, 0.16, 0.20, 494, 0.35, 0.09);
  return s;
}

Samples endSound() {
  Samples s(sampleCount(0.9));
  const double notes[] = {523.25, 659.25, 783.99, 1046.5};
  for (int i = 0; i < 4; ++i) addTone(s, 0.11 * i, 0.9 - 0.11 * i, notes[i], 0.22, 0.25);
  return s;
}

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

bool writeWav(const std::string& path, const Samples& samples) {
  std::string data;
  for (const double x : samples) {
    const auto pcm = static_cast<std::int16_t>(std::lround(std::clamp(x, -1.0, 1.0) * 32000));
    putLittleEndian(data, static_cast<std::uint16_t>(pcm), 2);
  }
  std::string file = "RIFF";
  putLittleEndian(file, static_cast<std::uint32_t>(36 + data.size()), 4);
  file += "WAVEfmt ";
  putLittleEndian(file, 16, 4);         // format chunk size
  putLittleEndian(file, 1, 2);          // PCM
  putLittleEndian(file, 1, 2);          // mono
  putLittleEndian(file, kRate, 4);      // samples a second
  putLittleEndian(file, kRate * 2, 4);  // bytes a second
  putLittleEndian(file, 2, 2);          // bytes a sample
  putLittleEndian(file, 16, 2);         // bits a sample
  file += "data";
  putLittleEndian(file, static_cast<std::uint32_t>(data.size()), 4);
  file += data;
  std::ofstream out(path, std::ios::binary);
  out.write(file.data(), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kaimo-synth-sounds DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const bool written = writeWav(dir + "/move.wav", moveSound()) && writeWav(dir + "/pass.wav", passSound()) &&
                       writeWav(dir + "/end.wav", endSound());
  if (!written) {
    std::fprintf(stderr, "kaimo-synth-sounds: cannot write the sounds into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}
