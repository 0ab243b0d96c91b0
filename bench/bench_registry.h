#pragma once

#include <functional>
#include <map>
#include <string>

// A figure of lumivant-bench: runs its measurement and its limit in the same run and
// returns their ratio.
struct BenchFigure
{
    const char* description;
    std::function<double()> run;
};

std::map<std::string, BenchFigure>& BenchFigures();

struct BenchRegistration
{
    BenchRegistration(const char* name, const char* description, std::function<double()> run)
    {
        BenchFigures()[name] = BenchFigure{description, std::move(run)};
    }
};
