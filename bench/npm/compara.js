// Times two npm packages on the inputs of the engine's benchmarks: CPF validation on a
// formatted CPF and an amount in words in reais. Prints ns per call for each.
'use strict';
const { isValidCPF } = require('@brazilian-utils/brazilian-utils');
const extenso = require('extenso');

function mede(nome, iteracoes, f) {
  for (let i = 0; i < iteracoes / 10; ++i) f(i);  // warm-up
  let melhor = Infinity;
  for (let rodada = 0; rodada < 3; ++rodada) {
    const inicio = process.hrtime.bigint();
    for (let i = 0; i < iteracoes; ++i) f(i);
    const ns = Number(process.hrtime.bigint() - inicio) / iteracoes;
    melhor = Math.min(melhor, ns);
  }
  console.log(`${nome}: ${melhor.toFixed(1)} ns/call`);
}

// Random amounts of every size with two decimals, as the engine's BM_Extenso uses.
let semente = 42;
function proximo() {
  semente = (semente * 1103515245 + 12345) % 2147483648;
  return semente;
}
const valores = [];
for (let i = 0; i < 1024; ++i) {
  const digitos = 1 + (proximo() % 15);
  let inteiro = String(1 + (proximo() % 9));
  while (inteiro.length < digitos) inteiro += String(proximo() % 10);
  valores.push(`${inteiro},${String(proximo() % 100).padStart(2, '0')}`);
}

let sink = 0;
mede('npm isValidCPF', 2000000, () => { sink += isValidCPF('123.456.789-09') ? 1 : 0; });
mede('npm extenso currency', 200000, (i) => {
  sink += extenso(valores[i & 1023], { mode: 'currency', decimalSeparator: 'comma' }).length;
});
if (sink === 0) console.log('');
