"""8-bit RGB PNG files read and written with zlib alone, for the scripts
that put the panel host's pictures together."""
import struct
import zlib


def chunks(data):
    at = 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_rgb(path):
    """Rows of RGB bytes of an 8-bit truecolour PNG without interlacing."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG file")
    header = None
    compressed = b""
    for kind, body in chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace != 0:
        raise SystemExit(f"{path}: only 8-bit RGB or RGBA without interlacing is read here")
    raw = zlib.decompress(compressed)
    stride = width * channels
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            line[i] = (line[i] + (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]) & 0xFF
        rows.append(line if channels == 3 else bytearray(v for i, v in enumerate(line) if i % 4 != 3))
        previous = line
    return width, rows


def write_rgb(path, width, rows):
    raw = b"".join(b"\x00" + bytes(row) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, len(rows), 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def compose(rows, gap, colour):
    """Pictures (width, list of RGB rows) laid row by row, each row's side by
    side, with gap pixels of colour round every one: (width, canvas rows)."""
    width = max(gap + sum(w + gap for w, _ in row) for row in rows)
    height = gap + sum(max(len(lines) for _, lines in row) + gap for row in rows)
    canvas = [bytearray(bytes(colour) * width) for _ in range(height)]
    y = gap
    for row in rows:
        x = gap
        for w, lines in row:
            for dy, line in enumerate(lines):
                canvas[y + dy][3 * x:3 * (x + w)] = line
            x += w + gap
        y += max(len(lines) for _, lines in row) + gap
    return width, canvas
