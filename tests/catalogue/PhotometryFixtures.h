#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kzev::test {

/** A small EULUMDAT file: the header lines that matter and the angle and intensity lists. */
struct LdtFixture {
    int symmetry = 1;
    std::vector<double> cAngles{0.0};
    std::vector<double> gammas{0.0, 45.0, 90.0};
    std::vector<double> values{100.0, 50.0, 0.0};
    std::string lineEnd = "\r\n";
    int lamps = 1;
    double watts = 28.0;
    double lightOutputRatio = 72.0;
    double cStepHeader = 0.0;
    double gammaStepHeader = 0.0;

    [[nodiscard]] std::string text() const
    {
        std::string t;
        auto line = [&](const std::string& s) { t += s + lineEnd; };
        auto num = [](double v) {
            std::string s = std::to_string(v);
            while (s.size() > 1 && s.back() == '0')
                s.pop_back();
            if (s.back() == '.')
                s.pop_back();
            return s;
        };
        line("Maker");
        line("1");
        line(std::to_string(symmetry));
        line(std::to_string(cAngles.size()));
        line(num(cStepHeader));
        line(std::to_string(gammas.size()));
        line(num(gammaStepHeader));
        line("report");
        line("Lamp name");
        line("L-1");
        line("l1.ldt");
        line("2024");
        for (const char* dim : {"600", "300", "80", "580", "280", "0", "0", "0", "0"})
            line(dim);
        line("100");
        line(num(lightOutputRatio));
        line("1");
        line("0");
        line("1");
        line(std::to_string(lamps));
        line("LED");
        line("3000");
        line("840");
        line("80");
        line(num(watts));
        for (int i = 0; i < 10; ++i)
            line("0.5");
        for (double c : cAngles)
            line(num(c));
        for (double g : gammas)
            line(num(g));
        for (double v : values)
            line(num(v));
        return t;
    }
};

/** Values of stored planes filled from a function of (c, gamma), planes in the given order. */
inline std::vector<double> planeValues(const std::vector<double>& planes, const std::vector<double>& gammas,
    const std::function<double(double, double)>& intensity)
{
    std::vector<double> values;
    for (double c : planes)
        for (double g : gammas)
            values.push_back(intensity(c, g));
    return values;
}

} // namespace kzev::test
