#include "assetgen/icon.h"

#include <cmath>
#include <cstdio>

#include "assetgen/procedural.h"

static void Append(std::string& svg, const char* format, double a = 0, double b = 0, double c = 0,
                   double d = 0) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    svg += text;
}

// A curtain of light: brightest along its wavy lower hem, fading upwards into the sky.
static void Curtain(std::string& svg, int index, double top, double height, double phase) {
    Append(svg, "<path fill=\"url(#curtain%.0f)\" filter=\"url(#soft)\" d=\"M8,%.1f", index, top);
    for (int x = 8; x <= 248; x += 8) {
        double wave = 14 * std::sin(x / 38.0 + phase) + 6 * std::sin(x / 13.0 + 2 * phase);
        Append(svg, " L%.0f,%.1f", x, top + height + wave);
    }
    Append(svg, " L248,%.1f Z\"/>\n", top);
}

// Three arms wound as logarithmic spirals, dots shrinking and dimming outwards.
static void Galaxy(std::string& svg, double cx, double cy) {
    Rng rng = {0x5A1A7u};
    svg += "<g fill=\"#ffd9ec\">\n";
    for (int arm = 0; arm < 3; arm++) {
        for (int i = 0; i < 26; i++) {
            double t = i / 25.0;
            double angle = arm * 2.0943951 + t * 4.2;
            double r = 6 + 58 * t;
            double x = cx + r * std::cos(angle) + RngRange(rng, -2.5f, 2.5f);
            double y = cy + 0.55 * r * std::sin(angle) + RngRange(rng, -1.5f, 1.5f);
            Append(svg, "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.2f\" opacity=\"%.2f\"/>\n", x, y,
                   3.2 - 2.2 * t, 0.95 - 0.6 * t);
        }
    }
    svg += "</g>\n";
    Append(svg, "<ellipse cx=\"%.0f\" cy=\"%.0f\" rx=\"30\" ry=\"17\" fill=\"url(#core)\"/>\n", cx,
           cy);
}

std::string DrawIconSvg() {
    static const char* const CURTAIN_COLOURS[] = {"#5cf2a8", "#39c6d6", "#e86fa8"};
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 "
        "256\">\n"
        "<defs>\n"
        "<linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
        "<stop offset=\"0\" stop-color=\"#070b24\"/><stop offset=\"1\" "
        "stop-color=\"#22103a\"/></linearGradient>\n"
        "<radialGradient id=\"core\"><stop offset=\"0\" stop-color=\"#ffffff\"/>"
        "<stop offset=\"0.4\" stop-color=\"#ffc4e1\" stop-opacity=\"0.8\"/>"
        "<stop offset=\"1\" stop-color=\"#e86fa8\" stop-opacity=\"0\"/></radialGradient>\n";
    for (int i = 0; i < 3; i++) {
        Append(svg, "<linearGradient id=\"curtain%.0f\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">", i);
        svg += std::string("<stop offset=\"0\" stop-color=\"") + CURTAIN_COLOURS[i] +
               "\" stop-opacity=\"0\"/><stop offset=\"1\" stop-color=\"" + CURTAIN_COLOURS[i] +
               "\" stop-opacity=\"0.8\"/></linearGradient>\n";
    }
    svg +=
        "<filter id=\"soft\"><feGaussianBlur stdDeviation=\"3\"/></filter>\n"
        "<clipPath id=\"tile\"><rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" "
        "rx=\"44\"/></clipPath>\n"
        "</defs>\n<rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"44\" "
        "fill=\"url(#sky)\"/>\n";
    Rng rng = {0x57A125u};
    for (int i = 0; i < 36; i++) {
        Append(svg,
               "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.2f\" fill=\"#ffffff\" opacity=\"%.2f\"/>\n",
               RngRange(rng, 24, 232), RngRange(rng, 24, 232), RngRange(rng, 0.6f, 1.6f),
               RngRange(rng, 0.3f, 0.9f));
    }
    svg += "<g clip-path=\"url(#tile)\">\n";
    Curtain(svg, 0, 20, 92, 0.0);
    Curtain(svg, 1, 30, 64, 1.7);
    Curtain(svg, 2, 8, 70, 3.1);
    svg += "</g>\n";
    Galaxy(svg, 128, 176);
    svg += "</svg>\n";
    return svg;
}
