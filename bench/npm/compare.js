// Times two npm packages on the inputs of the engine's function benchmarks (bench_functions.cpp):
// CPF validation of "123.456.789-09" and the amount in words of the same 1024 random amounts
// as BM_Extenso. Prints ns per call for each.
'use strict';
const { isValidCPF } = require('@brazilian-utils/brazilian-utils');
const extenso = require('extenso');

// std::mt19937_64, so the amounts are the ones the engine's benchmark draws.
function mt19937_64(semente) {
  const M64 = (1n << 64n) - 1n, N = 312, MEIO = 156;
  const ALTO = M64 ^ ((1n << 31n) - 1n), BAIXO = (1n << 31n) - 1n;
  const mt = new Array(N);
  mt[0] = BigInt(semente) & M64;
  for (let i = 1; i < N; ++i)
    mt[i] = (6364136223846793005n * (mt[i - 1] ^ (mt[i - 1] >> 62n)) + BigInt(i)) & M64;
  let k = N;
  return () => {
    if (k === N) {
      for (let i = 0; i < N; ++i) {
        const x = (mt[i] & ALTO) | (mt[(i + 1) % N] & BAIXO);
        mt[i] = mt[(i + MEIO) % N] ^ (x >> 1n) ^ (x & 1n ? 0xB5026F5AA96619E9n : 0n);
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
const gerador = mt19937_64(42);
const valores = [];
for (let i = 0; i < 1024; ++i) {
  const desloca = 1n + gerador() % 50n;
  const centavos = ((gerador() >> desloca) + 50n) / 100n;
  valores.push(`${centavos / 100n},${String(centavos % 100n).padStart(2, '0')}`);
}

function mede(nome, iteracoes, f) {
  for (let i = 0; i < iteracoes / 10; ++i) f(i);  // warm-up, so the JIT has compiled f
  let melhor = Infinity;
  for (let rodada = 0; rodada < 3; ++rodada) {
    const inicio = process.hrtime.bigint();
    for (let i = 0; i < iteracoes; ++i) f(i);
    melhor = Math.min(melhor, Number(process.hrtime.bigint() - inicio) / iteracoes);
  }
  console.log(`${nome}: ${melhor.toFixed(1)} ns/call`);
}

// The results feed a sum that is printed, so no call can be dropped as dead code.
let soma = 0;
mede('npm isValidCPF', 2000000, () => { soma += isValidCPF('123.456.789-09') ? 1 : 0; });
mede('npm extenso currency', 200000, (i) => {
  soma += extenso(valores[i & 1023], { mode: 'currency', decimalSeparator: 'comma' }).length;
});
console.log(`(checksum ${soma})`);
