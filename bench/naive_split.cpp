// The baseline a split is usually written as: one byte per call through stdio.
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fputs("usage: naive_split SOURCE EVEN ODD\n", stderr);
        return 2;
    }
    std::FILE *source = std::fopen(argv[1], "rb");
    std::FILE *even = std::fopen(argv[2], "wb");
    std::FILE *odd = std::fopen(argv[3], "wb");
    if (!source || !even || !odd)
        return 1;
    long long offset = 0;
    for (int c; (c = std::fgetc(source)) != EOF; ++offset)
        std::fputc(c, (offset & 1) ? odd : even);
    return (std::fclose(odd) | std::fclose(even) | std::fclose(source)) ? 1 : 0;
}
