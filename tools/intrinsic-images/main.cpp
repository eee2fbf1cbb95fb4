// Draws the ad library's three built-in button images (back and forward
// arrows of the in-app browser, the close mark of full-screen ads) at 1x and
// 2x and prints each PNG as Base64 text, the form adlib/foundation/
// intrinsic_images.cpp keeps them in. Run once when a drawing changes:
//   intrinsic-images > images.txt
// The PNGs are written with stored (uncompressed) deflate blocks, so the
// program needs no image library.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t crc32(const Bytes& data, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void put32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(Bytes& png, const char* type, const Bytes& body) {
    put32(png, static_cast<std::uint32_t>(body.size()));
    std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), body.begin(), body.end());
    put32(png, crc32(png, start));
}

// A zlib stream of stored blocks.
Bytes zlibStored(const Bytes& raw) {
    Bytes out{0x78, 0x01};
    std::size_t pos = 0;
    do {
        std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        bool last = pos + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(n & 0xFF));
        out.push_back(static_cast<std::uint8_t>(n >> 8));
        out.push_back(static_cast<std::uint8_t>(~n & 0xFF));
        out.push_back(static_cast<std::uint8_t>((~n >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put32(out, (b << 16) | a);
    return out;
}

// White with coverage as alpha (grey and alpha, 8 bits each), row by row.
Bytes png(int side, const std::vector<float>& alpha) {
    Bytes raw;
    for (int y = 0; y < side; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < side; ++x) {
            float a = std::clamp(alpha[static_cast<std::size_t>(y * side + x)], 0.0f, 1.0f);
            raw.insert(raw.end(), {255, static_cast<std::uint8_t>(std::lround(a * 255))});
        }
    }
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    put32(header, static_cast<std::uint32_t>(side));
    put32(header, static_cast<std::uint32_t>(side));
    header.insert(header.end(), {8, 4, 0, 0, 0});  // 8-bit grey and alpha
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", zlibStored(raw));
    chunk(out, "IEND", {});
    return out;
}

float segmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    float dx = bx - ax, dy = by - ay;
    float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

struct Segment {
    float ax, ay, bx, by;
};

// Strokes in a unit square, with a soft edge of one pixel.
std::vector<float> draw(int side, const std::vector<Segment>& strokes, float width, float ring) {
    std::vector<float> alpha(static_cast<std::size_t>(side * side), 0.0f);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            float px = (static_cast<float>(x) + 0.5f) / static_cast<float>(side);
            float py = (static_cast<float>(y) + 0.5f) / static_cast<float>(side);
            float d = 1e9f;
            for (const Segment& s : strokes) d = std::min(d, segmentDistance(px, py, s.ax, s.ay, s.bx, s.by));
            if (ring > 0) d = std::min(d, std::abs(std::hypot(px - 0.5f, py - 0.5f) - ring));
            float edge = (width / 2 - d) * static_cast<float>(side) + 0.5f;
            alpha[static_cast<std::size_t>(y * side + x)] = edge;
        }
    return alpha;
}

std::string base64(const Bytes& data) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < data.size(); i += 3) {
        std::uint32_t v = static_cast<std::uint32_t>(data[i]) << 16;
        if (i + 1 < data.size()) v |= static_cast<std::uint32_t>(data[i + 1]) << 8;
        if (i + 2 < data.size()) v |= data[i + 2];
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += i + 1 < data.size() ? alphabet[(v >> 6) & 63] : '=';
        out += i + 2 < data.size() ? alphabet[v & 63] : '=';
    }
    return out;
}

}  // namespace

int main() {
    const std::vector<Segment> back{{0.62f, 0.2f, 0.32f, 0.5f}, {0.32f, 0.5f, 0.62f, 0.8f}};
    const std::vector<Segment> forward{{0.38f, 0.2f, 0.68f, 0.5f}, {0.68f, 0.5f, 0.38f, 0.8f}};
    const std::vector<Segment> close{{0.33f, 0.33f, 0.67f, 0.67f}, {0.67f, 0.33f, 0.33f, 0.67f}};
    struct Image {
        const char* name;
        const std::vector<Segment>* strokes;
        float ring;
        int side;
    } images[] = {
        {"browserBackButton", &back, 0, 27}, {"browserBackButton@2x", &back, 0, 54},   {"browserForwardButton", &forward, 0, 27},
        {"browserForwardButton@2x", &forward, 0, 54}, {"closeButton", &close, 0.42f, 25}, {"closeButton@2x", &close, 0.42f, 50},
    };
    for (const Image& image : images)
        std::printf("%s %s\n", image.name, base64(png(image.side, draw(image.side, *image.strokes, 0.1f, image.ring))).c_str());
    return 0;
}
