#!/usr/bin/env python3
"""Converts a 24-bit bottom-up BMP (as the demo writes it) to PNG, with the standard library."""
import struct
import sys
import zlib


def converte(origem, destino):
    dados = open(origem, "rb").read()
    inicio = struct.unpack_from("<I", dados, 10)[0]
    largura, altura = struct.unpack_from("<ii", dados, 18)
    bits = struct.unpack_from("<H", dados, 28)[0]
    if bits != 24:
        raise SystemExit(f"{origem}: {bits}-bit BMP, expected 24")
    linha = (largura * 3 + 3) & ~3
    cru = bytearray()
    for y in range(abs(altura)):
        fonte = abs(altura) - 1 - y if altura > 0 else y
        base = inicio + fonte * linha
        cru.append(0)
        for x in range(largura):
            b, g, r = dados[base + 3 * x: base + 3 * x + 3]
            cru += bytes((r, g, b))

    def bloco(tipo, corpo):
        return struct.pack(">I", len(corpo)) + tipo + corpo + struct.pack(">I", zlib.crc32(tipo + corpo) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + bloco(b"IHDR", struct.pack(">IIBBBBB", largura, abs(altura), 8, 2, 0, 0, 0))
    png += bloco(b"IDAT", zlib.compress(bytes(cru), 9)) + bloco(b"IEND", b"")
    open(destino, "wb").write(png)


if __name__ == "__main__":
    converte(sys.argv[1], sys.argv[2])
