// The shop's page: every screen as a card with its live preview, a box per text zone, a
// Send button with its progress, the last delivery of each screen and the history.
'use strict';

(function () {
  const TOKEN_KEY = 'lumivant-token';
  const POLL_MS = 400;

  // Texts in the browser's language, from the server's string table (texts.js).
  function pickLanguage() {
    const wanted = navigator.languages && navigator.languages.length
      ? navigator.languages : [navigator.language || 'en'];
    for (const raw of wanted) {
      const tag = String(raw).toLowerCase();
      if (tag === 'zh-tw' || tag === 'zh-hk' || tag === 'zh-mo' || tag.startsWith('zh-hant')) return 'zh-TW';
      if (tag === 'zh' || tag.startsWith('zh-')) return 'zh-CN';
      if (tag === 'en' || tag.startsWith('en-')) return 'en';
    }
    return 'en';
  }
  const language = pickLanguage();
  const allTexts = window.LUMIVANT_TEXTS || {};
  const texts = allTexts[language] || allTexts.en || {};
  document.documentElement.lang = language;

  function T(id, ...args) {
    let text = texts[id] || (allTexts.en && allTexts.en[id]) || '';
    args.forEach((value, i) => { text = text.split('%' + (i + 1)).join(String(value)); });
    return text;
  }

  function element(tag, properties, ...children) {
    const node = document.createElement(tag);
    Object.assign(node, properties || {});
    for (const child of children) node.append(child);
    return node;
  }

  // The token comes once in the address (#token=...) and stays for the session; it is
  // taken out of the address so that it is not shared with a copied link.
  function takeToken() {
    const match = /(?:^#|&)token=([^&]+)/.exec(location.hash);
    if (match) {
      sessionStorage.setItem(TOKEN_KEY, decodeURIComponent(match[1]));
      history.replaceState(null, '', location.pathname + location.search);
    }
    return sessionStorage.getItem(TOKEN_KEY);
  }
  const token = takeToken();

  const notice = document.getElementById('notice');
  function say(text) { notice.textContent = text; }

  async function api(method, path, body) {
    const options = { method, headers: { Authorization: 'Bearer ' + token } };
    if (body !== undefined) {
      options.headers['Content-Type'] = 'application/json';
      options.body = JSON.stringify(body);
    }
    let response;
    try {
      response = await fetch('/api/v1/' + path, options);
    } catch (error) {
      return { status: 0, error: T(61925) };
    }
    if (response.status === 401) {
      sessionStorage.removeItem(TOKEN_KEY);
      say(T(61902));
    }
    const type = response.headers.get('Content-Type') || '';
    if (type.startsWith('application/json')) {
      const json = await response.json();
      return { status: response.status, json, error: json.error };
    }
    return { status: response.status, blob: await response.blob() };
  }

  function idOf(path) { return path.replace(/\//g, '-'); }

  // Previews are fetched with the token, then shown from memory.
  async function showPreview(img, path) {
    const result = await api('GET', path);
    if (!result.blob) return;
    const old = img.dataset.url;
    img.src = img.dataset.url = URL.createObjectURL(result.blob);
    if (old) URL.revokeObjectURL(old);
  }

  const cards = new Map(); // screen number -> {previews: [...], receipt}

  function refreshPreviews(number) {
    const card = cards.get(number);
    if (!card) return;
    for (const preview of card.previews) showPreview(preview.img, preview.path);
  }

  function zonesOf(node, found) {
    if (node.path && typeof node.text === 'string') found.push(node);
    for (const child of node.children || []) zonesOf(child, found);
    return found;
  }

  function zoneBox(zone, screenNumber) {
    const key = idOf(zone.path.numbers);
    const area = element('textarea', { id: 'text-' + key, value: zone.text, rows: 3 });
    area.setAttribute('aria-label', T(61929, zone.path.names));
    const label = element('label', { htmlFor: area.id, textContent: zone.path.names });
    const status = element('span', { id: 'status-' + key, className: 'status' });
    status.setAttribute('role', 'status');
    const save = element('button', { id: 'save-' + key, type: 'button', textContent: T(61904) });
    save.addEventListener('click', async () => {
      save.disabled = true;
      status.className = 'status';
      status.textContent = T(61931);
      const result = await api('PUT', 'zones/' + zone.path.numbers + '/text', { text: area.value });
      save.disabled = false;
      if (result.status !== 200) {
        status.className = 'status bad';
        status.textContent = T(61930, result.error || result.status);
        return;
      }
      const warnings = result.json.warnings || [];
      status.className = warnings.length ? 'status bad' : 'status good';
      status.textContent = [T(61905, result.json.pages)]
        .concat(warnings.map((warning) => T(61927, warning))).join(' ');
      refreshPreviews(screenNumber);
    });
    return element('div', { className: 'zone' }, label, area,
      element('div', { className: 'row' }, save, status));
  }

  async function followJob(job, progress, status, button, number) {
    for (;;) {
      const state = job.state;
      const screen = (job.screens && job.screens[0]) || {};
      progress.max = screen.range || 90;
      progress.value = screen.position || 0;
      if (state === 'queued') status.textContent = T(61907);
      else if (state === 'running') status.textContent = screen.text || T(61908);
      if (state === 'done' || state === 'failed') break;
      await new Promise((resolve) => setTimeout(resolve, POLL_MS));
      const result = await api('GET', 'jobs/' + job.id);
      if (!result.json || result.status !== 200) break;
      job = result.json;
    }
    button.disabled = false;
    progress.hidden = true;
    if (job.state === 'done') {
      status.className = 'status good';
      status.textContent = T(61909);
    } else {
      status.className = 'status bad';
      status.textContent = T(61910, job.message || '');
    }
    loadReceipts();
  }

  function screenCard(screen) {
    const number = screen.number;
    const card = element('section', { className: 'screen', id: 'screen-' + number });
    card.append(element('h2', { textContent: screen.name }));
    card.append(element('p', { className: 'size', textContent: T(61926, screen.width, screen.height) }));
    const previews = [];
    const zoom = Math.max(1, Math.min(8, Math.floor(512 / Math.max(1, screen.width))));
    for (const program of screen.children || []) {
      if (program.kind !== 110) continue;
      const img = element('img', { className: 'preview', alt: program.name });
      img.id = 'preview-' + number + '-' + program.number;
      const path = 'programs/s' + number + '/p' + program.number + '/preview.gif?dots=1&zoom=' + zoom;
      previews.push({ img, path });
      card.append(element('h3', { textContent: program.name }), img);
    }
    for (const zone of zonesOf(screen, [])) card.append(zoneBox(zone, number));

    const send = element('button', { id: 'send-' + number, type: 'button', textContent: T(61906) });
    const progress = element('progress', { id: 'progress-' + number, max: 90, value: 0, hidden: true });
    const status = element('span', { id: 'job-' + number, className: 'status' });
    status.setAttribute('role', 'status');
    send.addEventListener('click', async () => {
      send.disabled = true;
      progress.hidden = false;
      status.className = 'status';
      status.textContent = T(61907);
      const result = await api('POST', 'screens/' + number + '/send', {});
      if (result.status !== 202) {
        send.disabled = false;
        progress.hidden = true;
        status.className = 'status bad';
        status.textContent = T(61910, result.error || result.status);
        return;
      }
      followJob(result.json, progress, status, send, number);
    });
    card.append(element('div', { className: 'row' }, send, status), progress);
    const receipt = element('div', { className: 'receipt', id: 'receipt-' + number });
    card.append(receipt);
    cards.set(number, { previews, receipt });
    return card;
  }

  function resultText(result) {
    return result === 'ok' ? T(61920) : result === 'cancelled' ? T(61922) : T(61921);
  }
  function timeText(iso) {
    const time = new Date(iso);
    return isNaN(time) ? iso : time.toLocaleString(language);
  }

  async function loadReceipts() {
    const section = document.getElementById('history');
    const result = await api('GET', 'deliveries');
    section.hidden = false;
    document.getElementById('history-title').textContent = T(61913);
    const empty = document.getElementById('history-empty');
    const table = document.getElementById('history-table');
    const receipts = result.json && Array.isArray(result.json.deliveries) ? result.json.deliveries : null;
    if (!receipts) {
      empty.textContent = T(61924);
      table.hidden = true;
      return;
    }
    empty.textContent = receipts.length ? '' : T(61923);
    table.hidden = receipts.length === 0;
    const head = document.getElementById('history-head');
    head.replaceChildren(...[61914, 61915, 61916, 61917, 61918, 61919]
      .map((id) => element('th', { textContent: T(id) })));
    const body = document.getElementById('history-body');
    body.replaceChildren();
    const last = new Map();
    for (const receipt of receipts) last.set(receipt.screenNumber, receipt);
    for (const receipt of receipts.slice().reverse()) {
      body.append(element('tr', {},
        element('td', { textContent: timeText(receipt.time) }),
        element('td', { textContent: receipt.screenName }),
        element('td', { textContent: resultText(receipt.result) }),
        element('td', { textContent: String(receipt.bytes) }),
        element('td', { className: 'hash', textContent: String(receipt.sha256 || '').slice(0, 16) }),
        element('td', { className: 'reason', textContent: receipt.error || '' })));
    }
    for (const [number, card] of cards) {
      const receipt = last.get(number);
      card.receipt.textContent = T(61911) + ': ' + (receipt
        ? timeText(receipt.time) + ' · ' + resultText(receipt.result) + ' · ' + receipt.bytes + ' B' +
          (receipt.error ? ' · ' + receipt.error : '')
        : T(61912));
    }
  }

  async function load() {
    document.title = T(61900);
    document.getElementById('title').textContent = T(61900);
    const reload = document.getElementById('reload');
    reload.textContent = T(61928);
    reload.className = 'quiet';
    reload.onclick = load;
    if (!token) {
      say(T(61901));
      return;
    }
    say(T(61903));
    const result = await api('GET', 'project');
    if (result.status !== 200) {
      if (result.status !== 401) say(result.error || T(61925));
      return;
    }
    say('');
    reload.hidden = false;
    const main = document.getElementById('screens');
    main.replaceChildren();
    cards.clear();
    for (const screen of result.json.children || []) {
      if (screen.kind === 120) main.append(screenCard(screen));
    }
    for (const number of cards.keys()) refreshPreviews(number);
    loadReceipts();
  }

  load();
})();
