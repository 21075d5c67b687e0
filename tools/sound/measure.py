"""Measuring the game's sounds as the game hears them.

Effects and voice lines are decoded by libsndfile (the game's decoder); music is
streamed by SDL_mixer, so `play_music` runs the real mixer on SDL's disk driver and
returns what it would send to the speakers. Loudness is EBU R128 / ITU-R BS.1770.
"""
import ctypes
import os
import sys
import tempfile
import time

import numpy as np

_sf = None


class _SfInfo(ctypes.Structure):
    _fields_ = [("frames", ctypes.c_int64), ("samplerate", ctypes.c_int), ("channels", ctypes.c_int),
                ("format", ctypes.c_int), ("sections", ctypes.c_int), ("seekable", ctypes.c_int)]


def decode(path):
    """(mono float samples, rate) as libsndfile gives them; channels are averaged."""
    global _sf
    if _sf is None:
        _sf = ctypes.CDLL("libsndfile.so.1")
        _sf.sf_open.restype = ctypes.c_void_p
        _sf.sf_open.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.POINTER(_SfInfo)]
        _sf.sf_readf_float.restype = ctypes.c_int64
        _sf.sf_readf_float.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_int64]
        _sf.sf_close.argtypes = [ctypes.c_void_p]
    info = _SfInfo()
    handle = _sf.sf_open(path.encode(), 0x10, ctypes.byref(info))  # SFM_READ
    if not handle:
        raise IOError(f"{path}: libsndfile cannot open it")
    chunks = []
    block = np.empty(65536 * info.channels, dtype=np.float32)
    while True:
        got = _sf.sf_readf_float(handle, block.ctypes.data, 65536)
        if got <= 0:
            break
        chunks.append(block[: got * info.channels].copy())
    _sf.sf_close(handle)
    data = np.concatenate(chunks) if chunks else np.zeros(0, np.float32)
    return data.reshape(-1, info.channels).mean(axis=1).astype(np.float64), info.samplerate


def _biquad_response(b, a, freqs, rate):
    z = np.exp(-2j * np.pi * freqs / rate)
    return (b[0] + b[1] * z + b[2] * z * z) / (a[0] + a[1] * z + a[2] * z * z)


def _k_weight(x, rate):
    """The BS.1770 pre-filter (shelf, then high-pass), applied in the frequency domain."""
    # Analogue prototypes of BS.1770, made digital for this rate.
    f0, g, q = 1681.974450955533, 3.999843853973347, 0.7071752369554196
    k = np.tan(np.pi * f0 / rate)
    vh = 10 ** (g / 20)
    vb = vh**0.4996667741545416
    a0 = 1 + k / q + k * k
    shelf_b = [(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0]
    shelf_a = [1, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0]
    f0, q = 38.13547087602444, 0.5003270373238773
    k = np.tan(np.pi * f0 / rate)
    a0 = 1 + k / q + k * k
    hp_b = [1, -2, 1]
    hp_a = [1, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0]
    n = 1 << int(np.ceil(np.log2(len(x) + rate)))
    freqs = np.fft.rfftfreq(n, 1 / rate)
    h = _biquad_response(shelf_b, shelf_a, freqs, rate) * _biquad_response(hp_b, hp_a, freqs, rate)
    return np.fft.irfft(np.fft.rfft(x, n) * h, n)[: len(x)]


def loudness(x, rate):
    """Integrated loudness in LUFS (mono). Sounds shorter than one 400 ms block are
    measured whole."""
    y = _k_weight(x, rate) ** 2
    block, hop = int(0.4 * rate), int(0.1 * rate)
    if len(y) <= block:
        powers = np.array([y.mean()])
    else:
        c = np.concatenate([[0.0], np.cumsum(y)])
        starts = np.arange(0, len(y) - block + 1, hop)
        powers = (c[starts + block] - c[starts]) / block
    powers = powers[powers > 10 ** ((-70 + 0.691) / 10)]
    if len(powers) == 0:
        return -70.0
    relative = 10 * np.log10(powers.mean()) - 0.691 - 10
    powers = powers[powers > 10 ** ((relative + 0.691) / 10)]
    return float(10 * np.log10(powers.mean()) - 0.691)


def band_share(x, rate, lo, hi):
    """Share of the signal's energy between lo and hi Hz."""
    power = np.abs(np.fft.rfft(x - x.mean())) ** 2
    freqs = np.fft.rfftfreq(len(x), 1 / rate)
    total = power.sum()
    return float(power[(freqs >= lo) & (freqs < hi)].sum() / total) if total > 0 else 0.0


def onset_ms(x, rate, fraction=0.1):
    """Milliseconds until the sound first reaches `fraction` of its peak."""
    peak = np.max(np.abs(x))
    return float(np.argmax(np.abs(x) >= fraction * peak) * 1000.0 / rate) if peak > 0 else 0.0


def start_step(x, rate):
    """How hard the sound starts: the biggest level in its first half millisecond,
    as a share of full scale. A fade-in keeps it small."""
    n = max(1, int(0.0005 * rate))
    return float(np.max(np.abs(x[:n])))


CHUNK_FRAMES = 1024  # the mixer's buffer, in frames


def play_music(path, seconds, rate=44100):
    """What SDL_mixer plays for a looped music file during its first `seconds`, mono.

    Runs the real mixer on SDL's disk writer with no delay, so it is faster than
    real time."""
    out = tempfile.NamedTemporaryFile(suffix=".raw", delete=False)
    out.close()
    env = {"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": out.name, "SDL_DISKAUDIODELAY": "0"}
    saved = {k: os.environ.get(k) for k in env}
    os.environ.update(env)
    try:
        sdl = ctypes.CDLL("libSDL-1.2.so.0")
        mix = ctypes.CDLL("libSDL_mixer-1.2.so.0")
        mix.Mix_LoadMUS.restype = ctypes.c_void_p
        mix.Mix_LoadMUS.argtypes = [ctypes.c_char_p]
        mix.Mix_PlayMusic.argtypes = [ctypes.c_void_p, ctypes.c_int]
        mix.Mix_FreeMusic.argtypes = [ctypes.c_void_p]
        # SDL warns on standard error that it writes to a file: we know.
        sys.stderr.flush()
        saved_err = os.dup(2)
        null = os.open(os.devnull, os.O_WRONLY)
        os.dup2(null, 2)
        try:
            opened = sdl.SDL_InitSubSystem(0x10) == 0 and mix.Mix_OpenAudio(rate, 0x8010, 2, CHUNK_FRAMES) == 0
        finally:
            os.dup2(saved_err, 2)
            os.close(saved_err)
            os.close(null)
        if not opened:
            raise RuntimeError("SDL's disk audio driver would not open")
        music = mix.Mix_LoadMUS(path.encode())
        if not music:
            raise IOError(f"{path}: SDL_mixer cannot load it")
        mix.Mix_PlayMusic(music, -1)
        # Until the music starts the mixer writes whole buffers of silence, more or
        # fewer as its thread races this one; they are waited for and dropped below.
        # On a busy machine the silence can run longer than any guess, so the wait is
        # for `seconds` of output after the first sounding sample.
        want = int(seconds * rate) * 2
        deadline = time.time() + 60
        while time.time() < deadline:
            time.sleep(0.02)
            if os.path.getsize(out.name) < want * 2:
                continue
            sounding = np.flatnonzero(np.fromfile(out.name, dtype="<i2"))
            if len(sounding) and os.path.getsize(out.name) // 2 - sounding[0] >= want + 4 * CHUNK_FRAMES:
                break
        mix.Mix_HaltMusic()
        mix.Mix_FreeMusic(music)
        mix.Mix_CloseAudio()
        sdl.SDL_QuitSubSystem(0x10)
        raw = np.fromfile(out.name, dtype="<i2")
        sounding = np.flatnonzero(raw)
        if len(sounding):
            raw = raw[(sounding[0] // (2 * CHUNK_FRAMES)) * 2 * CHUNK_FRAMES:]
        raw = raw[: int(seconds * rate) * 2]
    finally:
        os.unlink(out.name)
        for k, v in saved.items():
            if v is None:
                os.environ.pop(k, None)
            else:
                os.environ[k] = v
    return raw.reshape(-1, 2).mean(axis=1) / 32768.0
