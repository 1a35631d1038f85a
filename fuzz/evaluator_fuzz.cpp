// libFuzzer target: any text into the expression evaluator and its displays.
// Failures of the evaluation are its normal answer; anything else is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calc/Evaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto value = pictra::calc::EvaluateExpression(text);
        (void)pictra::calc::FractionSuffix(value);
        (void)pictra::calc::FormatNumber(value, pictra::calc::kResultPattern);
    } catch (const pictra::calc::EvaluationError&) {
    }
    try {
        (void)pictra::calc::EvaluateWithVariables(text, "p", "max", 15, 20);
    } catch (const pictra::calc::EvaluationError&) {
    }
    return 0;
}
