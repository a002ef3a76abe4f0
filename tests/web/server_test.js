// The pages' server: / is the index, the pages and what they load are
// served with their types, nothing else of the build folder is, malformed
// paths get 400 and the server goes on; serve.js prints an address that
// answers.
//   node server_test.js
'use strict';
const assert = require('node:assert/strict');
const {spawn} = require('child_process');
const fs = require('fs');
const net = require('net');
const os = require('os');
const path = require('path');
const {after, before, test} = require('node:test');
const {serve} = require('./server');

let folder, server;
before(async () => {
  // A build folder: the pages, what they load, and the build's own files.
  folder = fs.mkdtempSync(path.join(os.tmpdir(), 'grains-server-'));
  const files = {'index.html': '<p>index</p>', 'grains_a.html': '<p>a</p>', 'grains_a.js': '//', 'page.css': 'p {}',
                 'grains_a.wasm': '\0asm', 'grains_a.data': 'data', 'CMakeCache.txt': 'cache', 'Makefile': 'all:',
                 'libgrain_common.a': '!<arch>', 'CMakeFiles/grains_a.dir/flags.make': 'flags'};
  for (const [name, text] of Object.entries(files)) {
    fs.mkdirSync(path.dirname(path.join(folder, name)), {recursive: true});
    fs.writeFileSync(path.join(folder, name), text);
  }
  server = await serve(folder);
});
after(() => {
  server.close();
  fs.rmSync(folder, {recursive: true});
});

// Sends a raw request line and resolves to the answer's status and body.
function request(target, method = 'GET', port = server.address().port) {
  return new Promise((resolve, reject) => {
    const socket = net.connect(port, '127.0.0.1', () => {
      socket.write(`${method} ${target} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n`);
    });
    let answer = '';
    socket.on('data', data => { answer += data.toString('latin1'); });
    socket.on('end', () => {
      const [head, body] = answer.split('\r\n\r\n');
      const type = /\r\ncontent-type: ([^\r]*)/i.exec(head);
      resolve({status: Number(head.split(' ')[1]), type: type ? type[1] : null, body});
    });
    socket.on('error', reject);
  });
}

test('the index, the pages and what they load are served with their types', async () => {
  const expected = {'/': ['text/html', '<p>index</p>'], '/index.html': ['text/html', '<p>index</p>'],
                    '/grains_a.html?step': ['text/html', '<p>a</p>'], '/grains_a.js': ['text/javascript', '//'],
                    '/page.css': ['text/css', 'p {}'], '/grains_a.wasm': ['application/wasm', '\0asm'],
                    '/grains_a.data': ['application/octet-stream', 'data']};
  for (const [target, [type, body]] of Object.entries(expected)) {
    const answer = await request(target);
    assert.deepEqual([answer.status, answer.type.split(';')[0], answer.body], [200, type, body], target);
  }
  assert.equal((await request('/', 'HEAD')).status, 200);
  assert.equal((await request('/', 'POST')).status, 405);
});

test('the build folder\'s own files and anything outside it are not served', async () => {
  for (const target of ['/CMakeCache.txt', '/Makefile', '/libgrain_common.a', '/CMakeFiles/grains_a.dir/flags.make',
                        '/../' + path.basename(folder) + '/index.html', '/%2e%2e/etc/passwd', '/grains_b.html',
                        '/.html'])
    assert.equal((await request(target)).status, 404, target);
});

test('malformed paths answer 400, and serving goes on', async () => {
  for (const target of ['/%', '/%00', '/index.html%00.txt', '/%E0%A4%A', 'index.html', '*'])
    assert.equal((await request(target)).status, 400, target);
  assert.equal((await request('/')).status, 200);
});

test('serve.js prints the address of the index', async () => {
  const child = spawn(process.execPath, [path.join(__dirname, 'serve.js'), folder, '0']);
  try {
    const line = await new Promise((resolve, reject) => {
      child.stdout.once('data', data => resolve(data.toString()));
      child.once('exit', status => reject(new Error(`serve.js ended with ${status}`)));
    });
    const address = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(line);
    assert.ok(address, line);
    const answer = await request('/', 'GET', Number(address[1]));
    assert.deepEqual([answer.status, answer.body], [200, '<p>index</p>']);
  } finally {
    child.kill();
  }
});
