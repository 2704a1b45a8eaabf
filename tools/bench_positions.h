// A fixed set of positions for benchmarks: openings, middle games with
// pieces in hand, checks and endgames (SFEN, lower side in upper case).
#pragma once

namespace nusari::tool {

inline constexpr const char* kBenchPositions[] = {
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",
    "lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 3",
    "ln1g3nl/1r1sk1gs1/p1pppp1pp/6p2/1p5P1/2P6/PPSPPPP1P/1BG4R1/LN2KGSNL b Bp 1",
    "l6nl/5+P1gk/2np1S3/p1p4Pp/3P2Sp1/1PPb2P1P/P5GS1/R8/LN4bKL w RGgsn5p 1",
    "8l/1l+R2P3/p2pBG1pp/kps1p4/Nn1P2G2/P1P1P2PP/1PS6/1KSG3+r1/LN2+p3L w Sbgn3p 124",
    "ln1g1g1nl/1ks2r3/1pppp1bpp/p4pp2/9/2P1P1P2/PPBP1P1PP/1K1S1R3/LN1G1GSNL b Sp 1",
    "4k4/4P4/4G4/9/9/9/9/9/4K4 w rb2p 1",
    "3gk4/4+P4/9/9/9/9/9/9/4K4 w 2r2b3g4s4n4l16p 1",
    "6snl/5gk2/6pp1/7Pp/9/9/9/9/K8 b RBG2s2n3l 1",
    "k8/9/1P7/9/9/9/9/9/8K w R 1",
    "lr6l/4g1gk1/p2pspnp1/2p1p1p1p/1p3P3/2P1P1P1P/PPSP1S3/2G1G4/LN5KL b BNPbsn2p 1",
};

}  // namespace nusari::tool
