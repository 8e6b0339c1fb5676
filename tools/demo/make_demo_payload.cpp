// Writes the demo package's files: small, deterministic stand-ins for every
// kind of file the product ships, all generated here.
//   make-demo-payload OUTDIR [--program FILE] [--uninstaller FILE] [--dsetup FILE]
// The given files (normally the stand-ins) are used instead of the
// generated placeholders.

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace fs = std::filesystem;

namespace {

void write_file(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// Text that compresses like real data files do: varied but repetitive.
std::string records(const std::string& kind, int count, std::uint32_t seed)
{
    std::string out = "# " + kind + "\n";
    std::uint32_t x = seed;
    for (int i = 0; i < count; ++i) {
        x = x * 1664525u + 1013904223u;
        out += kind + "." + std::to_string(i) + " colour=" + std::to_string(x % 256) + "," +
               std::to_string((x >> 8) % 256) + "," + std::to_string((x >> 16) % 256) +
               " roughness=" + std::to_string((x >> 4) % 100) + "\n";
    }
    return out;
}

std::string binary(std::size_t size, std::uint32_t seed)
{
    std::string out(size, '\0');
    std::uint32_t x = seed;
    for (std::size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        out[i] = static_cast<char>((i % 64 < 40) ? (x >> 16) : (i & 0x7F));
    }
    return out;
}

std::string placeholder(const std::string& what, std::size_t padding, std::uint32_t seed)
{
    return "MZ placeholder: " + what + "; generated for the demo package, not a program.\n" +
           binary(padding, seed);
}

void put(std::string& s, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>(v >> (8 * i));
}

// A 48 x 32 24-bit image with a gradient.
std::string bitmap()
{
    const int w = 48, h = 32, row = w * 3;
    std::string s = "BM";
    put(s, 54 + row * h, 4);
    put(s, 0, 4);
    put(s, 54, 4);
    put(s, 40, 4);
    put(s, w, 4);
    put(s, h, 4);
    put(s, 1, 2);
    put(s, 24, 2);
    put(s, 0, 4);
    put(s, row * h, 4);
    put(s, 2835, 4);
    put(s, 2835, 4);
    put(s, 0, 4);
    put(s, 0, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s += static_cast<char>(x * 5);
            s += static_cast<char>(y * 8);
            s += static_cast<char>(128);
        }
    return s;
}

std::string copy_of(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc < 2 || argc % 2 != 0) {
            std::cerr << "usage: make-demo-payload OUTDIR [--program FILE] [--uninstaller FILE] [--dsetup FILE]\n";
            return 2;
        }
        const fs::path out = argv[1];
        std::string program = placeholder("the product's main program", 20000, 1);
        std::string uninstaller = placeholder("the uninstaller", 8000, 2);
        std::string dsetup = placeholder("the DirectX set-up library", 4000, 51);
        for (int i = 2; i + 1 < argc; i += 2) {
            if (std::strcmp(argv[i], "--program") == 0)
                program = copy_of(argv[i + 1]);
            else if (std::strcmp(argv[i], "--uninstaller") == 0)
                uninstaller = copy_of(argv[i + 1]);
            else if (std::strcmp(argv[i], "--dsetup") == 0)
                dsetup = copy_of(argv[i + 1]);
            else
                throw std::runtime_error(std::string("unknown option ") + argv[i]);
        }
        write_file(out / "Trelvane.exe", program);
        write_file(out / "Uninstall.exe", uninstaller);
        const char* languages[] = {"FRA", "ENU", "DEU"};
        for (int i = 0; i < 3; ++i)
            write_file(out / "Lang" / ("Trelvane" + std::string(languages[i]) + ".dll"),
                       placeholder(std::string("language resources ") + languages[i], 6000, 10 + i));
        write_file(out / "Data" / "Standard.tv-lib", records("material", 900, 21));
        write_file(out / "Data" / "Metals.mat-vantaro", records("metal", 300, 22));
        write_file(out / "Data" / "MyImages.bmp", bitmap());
        write_file(out / "Samples" / "Welcome.tv-proj", records("scene.object", 400, 31));
        write_file(out / "Samples" / "Starter.tv-cab", binary(12000, 32));
        write_file(out / "Textures" / "Oak.jpg", binary(9000, 41));
        write_file(out / "Textures" / "Slate.jpg", binary(7000, 42));
        write_file(out / "DirectX" / "DSetup.dll", dsetup);
        write_file(out / "DirectX" / "dsetup32.dll", placeholder("the DirectX set-up helper", 4000, 52));
        write_file(out / "DirectX" / "dxcore_x86.cab", binary(10000, 53));
        write_file(out / "DirectX" / "dxextra_x86.cab", binary(6000, 54));
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "make-demo-payload: " << e.what() << "\n";
        return 1;
    }
}
