// Loading an engine for the command-line tools.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "aik/engine_state.h"
#include "console_ui.h"

namespace nusari::tool {

// Frees the hash arrays with the engine.
struct EngineDeleter {
    void operator()(EngineState* state) const;
};
using Engine = std::unique_ptr<EngineState, EngineDeleter>;

// Loads `aikPath`, allocates the hash arrays and seeds the book's random
// generator; null (after a message) on failure.
Engine loadEngine(const std::string& aikPath, uint32_t seed, ConsoleUi& ui);

// Parses "--name VALUE" integer options; false with a message on a bad value.
bool parseInt(const std::string& name, const std::string& text, int64_t& value);

}  // namespace nusari::tool
