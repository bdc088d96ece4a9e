// Times two npm packages on the inputs of the engine's function benchmarks (bench_functions.cpp):
// CPF validation of "123.456.789-09" and the amount in words of the same 1024 random amounts
// as BM_Extenso. Prints ns per call for each.
'use strict';
const { isValidCPF } = require('@brazilian-utils/brazilian-utils');
const extenso = require('extenso');

// std::mt19937_64, so the amounts are the ones the engine's benchmark draws.
function mt19937_64(seed) {
  const M64 = (1n << 64n) - 1n, N = 312, MIDDLE = 156;
  const UPPER = M64 ^ ((1n << 31n) - 1n), LOWER = (1n << 31n) - 1n;
  const mt = new Array(N);
  mt[0] = BigInt(seed) & M64;
  for (let i = 1; i < N; ++i)
    mt[i] = (6364136223846793005n * (mt[i - 1] ^ (mt[i - 1] >> 62n)) + BigInt(i)) & M64;
  let k = N;
  return () => {
    if (k === N) {
      for (let i = 0; i < N; ++i) {
        const x = (mt[i] & UPPER) | (mt[(i + 1) % N] & LOWER);
        mt[i] = mt[(i + MIDDLE) % N] ^ (x >> 1n) ^ (x & 1n ? 0xB5026F5AA96619E9n : 0n);
      }
      k = 0;
    }
    let y = mt[k++];
    y ^= (y >> 29n) & 0x5555555555555555n;
    y ^= (y << 17n) & 0x71D67FFFEDA60000n;
    y ^= (y << 37n) & 0xFFF7EEE000000000n;
    return (y ^ (y >> 43n)) & M64;
  };
}

// The C++ standard fixes the 10000th value of a default-seeded mt19937_64.
{
  const g = mt19937_64(5489);
  for (let i = 1; i < 10000; ++i) g();
  if (g() !== 9981545732273789042n) throw new Error('mt19937_64 differs from std::mt19937_64');
}

// As BM_Extenso: a shift of 1..50, then a value in ten-thousandths of a real, rounded here to
// whole centavos (half up; the values are never negative) and written as "reais,centavos".
const generator = mt19937_64(42);
const values = [];
for (let i = 0; i < 1024; ++i) {
  const shift = 1n + generator() % 50n;
  const cents = ((generator() >> shift) + 50n) / 100n;
  values.push(`${cents / 100n},${String(cents % 100n).padStart(2, '0')}`);
}

function measure(name, iterations, f) {
  for (let i = 0; i < iterations / 10; ++i) f(i);  // warm-up, so the JIT has compiled f
  let best = Infinity;
  for (let round = 0; round < 3; ++round) {
    const start = process.hrtime.bigint();
    for (let i = 0; i < iterations; ++i) f(i);
    best = Math.min(best, Number(process.hrtime.bigint() - start) / iterations);
  }
  console.log(`${name}: ${best.toFixed(1)} ns/call`);
}

// The results feed a sum that is printed, so no call can be dropped as dead code.
let sum = 0;
measure('npm isValidCPF', 2000000, () => { sum += isValidCPF('123.456.789-09') ? 1 : 0; });
measure('npm extenso currency', 200000, (i) => {
  sum += extenso(values[i & 1023], { mode: 'currency', decimalSeparator: 'comma' }).length;
});
console.log(`(checksum ${sum})`);
