#include "bench/bench_registry.h"

std::map<std::string, BenchFigure>& BenchFigures()
{
    static std::map<std::string, BenchFigure> figures;
    return figures;
}
