// The parameters of one engine-definition (.aik) file, one field per key.
#pragma once

#include <cstdint>
#include <string>

namespace nusari {

// Defaults the loader sets before every load.
inline constexpr int32_t kDefaultEdakariPasu = 10;
inline constexpr int32_t kDefaultEdakariHyouka = 32;
inline constexpr int32_t kDefaultEdakariHiyuusen = 5;
// A new iteration starts while the elapsed time is at most this share (per
// cent) of the move's limit.
inline constexpr int32_t kDefaultZikanWariai = 50;
// The longest mate search an engine file may ask for, in plies.
inline constexpr int32_t kMaxTumeHukasa = 9;

// Strings hold the file's CP932 bytes. A numeric key whose value does not
// parse stores -1. Fields a file does not set keep the previous load's value
// (zero at program start).
struct AikProfile {
    std::string ver;       // "0.0.1" or "0.0.2"
    std::string namae;     // display name of the engine, at most 18 bytes
    std::string zyouseki;  // stem of the book (.jsk) and message (.txk) files
    int32_t hukasa = 0;    // last iteration number of the deepening, in depth units
    // Width of every candidate list; kept in 1..100 by the loader.
    int32_t haba = 0;
    int32_t yudou_kati[4] = {};  // bonus of induced moves 1..4
    int32_t pasu_kati = 0;
    int32_t oute_kati = 0;       // bonus of a check
    int32_t doute_kati[2] = {};  // bonus of a move to path[0] / path[2]
    // Divisor of the depth credit of good moves; 0 (set by the loader for any
    // value below 1) switches that credit off.
    int32_t hitu_hukasa = 0;
    int32_t oute_hukasa = 0;       // depth factor of a check, tenths
    int32_t doute_hukasa[2] = {};  // depth factors of moves to path[0] / path[2]
    int32_t sute_hukasa = 0;       // depth factor of a move onto an attacked square
    int32_t zyoukyou_pl = 0;       // starting value of each side's progress count
    int32_t zyoukyou_pl_max = 0;   // cap of each side's progress count
    int32_t ransuu_ti = 0;         // book lookup's random range; 0 = none
    int32_t edakari_pasu = kDefaultEdakariPasu;
    // Divisor of every depth reduction; kept at 1 or more by the loader.
    int32_t edakari_hyouka = kDefaultEdakariHyouka;
    int32_t edakari_hiyuusen = kDefaultEdakariHiyuusen;
    // Per cent of the limit up to which a new iteration starts; kept in
    // 1..100 by the loader (anything else gives the default).
    int32_t zikan_wariai = kDefaultZikanWariai;
    // Plies of the mate search over checks at the root and of the threat
    // test of the root candidates; kept in 0 (off)..9 by the loader.
    int32_t tume_hukasa = 0;
    // 1: the engine plays with the second search (whole-ply deepening over a
    // board made and unmade in place); anything else, or no key, the seed's
    // search. Reset before every load.
    int32_t tansaku = 0;
};

}  // namespace nusari
