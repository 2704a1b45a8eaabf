#include "engine_setup.h"

#include "aik/aik_loader.h"
#include "think/book_random.h"
#include "think/hash_tables.h"

namespace nusari::tool {

void EngineDeleter::operator()(EngineState* state) const {
    FreeHashTables(*state);
    delete state;
}

Engine loadEngine(const std::string& aikPath, uint32_t seed, ConsoleUi& ui) {
    Engine engine(new EngineState());
    engine->enginePath = aikPath;
    if (LoadAik(*engine, aikPath, ui) != 1) {
        std::fprintf(stderr, "cannot load engine %s\n", aikPath.c_str());
        return nullptr;
    }
    if (AllocHashTables(*engine, ui) != 1) return nullptr;
    seedRandom(engine->randomState, seed);
    return engine;
}

bool parseInt(const std::string& name, const std::string& text, int64_t& value) {
    try {
        size_t used = 0;
        value = std::stoll(text, &used);
        if (used == text.size()) return true;
    } catch (const std::exception&) {
    }
    std::fprintf(stderr, "%s needs a number, not '%s'\n", name.c_str(), text.c_str());
    return false;
}

}  // namespace nusari::tool
