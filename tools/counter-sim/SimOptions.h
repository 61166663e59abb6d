#pragma once

#include <string>
#include <vector>

#include "counter-sim/CounterModel.h"

namespace quolix {

// The simulator's command line.
struct SimOptions {
    enum class Status { Run, Help, Version, Invalid };

    std::string linkPath = "/tmp/quolix-com1";
    // Empty: replies come from the model.
    std::string scriptPath;
    ModelConfig model;
    // Seconds after the start at which the counter vanishes (the terminal is
    // closed) or falls silent, and for how long; a negative start: never.
    double vanishAt = -1;
    double vanishFor = 0;
    double silentAt = -1;
    double silentFor = 0;

    // Parses the arguments after the program name. Both "--name value" and
    // "--name=value" are accepted. Invalid sets error to a one-line reason.
    static Status Parse(const std::vector<std::string>& args, SimOptions& options,
                        std::string& error);
    static std::string Usage();
};

}  // namespace quolix
