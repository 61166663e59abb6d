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

    // Parses the arguments after the program name. Both "--name value" and
    // "--name=value" are accepted. Invalid sets error to a one-line reason.
    static Status Parse(const std::vector<std::string>& args, SimOptions& options,
                        std::string& error);
    static std::string Usage();
};

}  // namespace quolix
