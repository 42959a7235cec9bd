// The web remote: shows the program's setting, sends the operator's edits, draws the response
// curve and the meters. Talks to the program over one WebSocket (docs/remote-protocol.md).

const GRAPH = { lowHz: 20, decades: 3, topDb: 18, bottomDb: -18, gridDb: 6 };
const GRID_HZ = [20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000];
const LABEL_HZ = [100, 1000, 10000];
const MARKER_RADIUS = 13;
const MARKER_REACH = 30;
const RETRY_FIRST_MS = 500;
const RETRY_LAST_MS = 8000;
const CLOSE_WRONG_TOKEN = 4401;

const state = {
  socket: null,
  hello: null,
  tables: null,
  setting: null,
  curves: null,
  channel: 'A',
  band: 1,
  role: 'reader',
  locked: false,
  note: '',
  refusal: '',
  lost: '',
  nextId: 1,
  retryMs: RETRY_FIRST_MS,
  presetSource: 'factory',
  drag: null,
  pending: new Map(),
  controls: [],
};

const $ = (id) => document.getElementById(id);

// ---- small helpers ------------------------------------------------------------------------

function el(tag, props = {}, children = []) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(props)) {
    if (name === 'role' || /^(aria|data)[A-Z]/.test(name)) {
      node.setAttribute(
        name.replace(/[A-Z]/g, (c) => '-' + c.toLowerCase()),
        value,
      );
    } else {
      node[name] = value;
    }
  }
  node.append(...children);
  return node;
}

function clamp(value, lowest, highest) {
  return Math.min(highest, Math.max(lowest, value));
}

function nearestIndex(table, value, distance = (a, b) => Math.abs(a - b)) {
  let best = 0;
  table.forEach((entry, index) => {
    if (distance(entry, value) < distance(table[best], value)) best = index;
  });
  return best;
}

const logDistance = (a, b) => Math.abs(Math.log(a / b));

function trimNumber(value, decimals) {
  return String(Number(value.toFixed(decimals)));
}

const formatHz = (hz) =>
  hz >= 1000 ? trimNumber(hz / 1000, 2) + ' kHz' : trimNumber(hz, 1) + ' Hz';
const formatDb = (db) => (db > 0 ? '+' : '') + trimNumber(db, 1) + ' dB';
const formatMs = (ms) => trimNumber(ms, 4) + ' ms';
const formatS = (s) => trimNumber(s, 2) + ' s';
const formatPlain = (value) => trimNumber(value, 2);

/// The delay steps: whole milliseconds plus up to as many fine steps as the largest value holds.
function delaySteps({ max, step }) {
  const fineSteps = Math.round((max - Math.floor(max)) / step);
  const steps = [];
  for (let ms = 0; ms <= Math.floor(max); ++ms) {
    for (let fine = 0; fine <= fineSteps; ++fine) steps.push(Number((ms + fine * step).toFixed(4)));
  }
  return steps;
}

// ---- the setting and the edits ------------------------------------------------------------

/// A value of the setting JSON by its path; bands are numbered from 1 as the paths name them.
function valueAt(setting, path) {
  return path.split('.').reduce((node, key) => {
    if (node === undefined || node === null) return undefined;
    return Array.isArray(node) ? node[Number(key) - 1] : node[key];
  }, setting);
}

/// What the page shows: the value just sent, until the setting holds it, else the setting.
function currentValue(path) {
  return state.pending.has(path) ? state.pending.get(path).value : valueAt(state.setting, path);
}

const isOn = (value) => value === true;
const canEdit = () =>
  state.socket !== null && state.setting !== null && state.role === 'writer' && !state.locked;
const channelPath = (key) => `${state.channel}.${key}`;
const bandPath = (key) => `${state.channel}.eq.${state.band}.${key}`;
const graphicEq = () => valueAt(state.setting, 'eqMode') === 'graphic';

function send(message) {
  const id = state.nextId++;
  state.socket.send(JSON.stringify({ ...message, id }));
  return id;
}

function edit(path, value) {
  if (!canEdit() || currentValue(path) === value) return;
  state.refusal = '';
  state.pending.set(path, { id: send({ type: 'set', path, value }), value });
  render();
}

function settle(result) {
  for (const [path, entry] of state.pending) {
    if (entry.id !== result.id) continue;
    if (result.ok) entry.answered = true;
    else state.pending.delete(path);
  }
  if (!result.ok) state.refusal = result.reason;
}

/// The program answers an edit before the line carries it and the setting may show it a poll
/// later, so an answered value stays shown until a setting holds it or for one more setting
/// (when another edit, on the PC, came after it).
function takeSetting(setting) {
  state.setting = setting;
  for (const [path, entry] of state.pending) {
    if (!entry.answered) continue;
    entry.settingsSince = (entry.settingsSince ?? 0) + 1;
    if (valueAt(setting, path) === entry.value || entry.settingsSince > 1)
      state.pending.delete(path);
  }
}

// ---- controls -----------------------------------------------------------------------------

/// A value from a table: its text, - and + buttons and a slider over the table's index.
function stepper(label, pathOf, tableOf, format, lockedInGraphic = false) {
  const value = el('output', { className: 'value' });
  const slider = el('input', { type: 'range', min: 0, step: 1, ariaLabel: label });
  const minus = el('button', {
    type: 'button',
    className: 'step',
    textContent: '−',
    ariaLabel: label + ' down',
  });
  const plus = el('button', {
    type: 'button',
    className: 'step',
    textContent: '+',
    ariaLabel: label + ' up',
  });
  const index = () => nearestIndex(tableOf(), currentValue(pathOf()));
  const choose = (i) => edit(pathOf(), tableOf()[clamp(i, 0, tableOf().length - 1)]);
  minus.addEventListener('click', () => choose(index() - 1));
  plus.addEventListener('click', () => choose(index() + 1));
  slider.addEventListener('input', () => choose(Number(slider.value)));
  const head = el('div', { className: 'head' }, [el('span', { textContent: label }), value]);
  const row = el('div', { className: 'stepper' }, [head, minus, slider, plus]);
  return {
    element: row,
    update() {
      const locked = lockedInGraphic && graphicEq();
      slider.max = tableOf().length - 1;
      slider.value = index();
      value.textContent = format(currentValue(pathOf()));
      for (const input of [minus, slider, plus]) input.disabled = locked || !canEdit();
    },
  };
}

/// An on/off switch.
function toggle(label, pathOf, className = 'toggle') {
  const button = el('button', { type: 'button', className, textContent: label });
  button.addEventListener('click', () => edit(pathOf(), !isOn(currentValue(pathOf()))));
  return {
    element: button,
    update() {
      button.setAttribute('aria-pressed', String(isOn(currentValue(pathOf()))));
      button.disabled = !canEdit();
    },
  };
}

/// One of a few named values, as a row of buttons.
function choice(label, pathOf, names) {
  const buttons = names.map((name) => {
    const button = el('button', { type: 'button', textContent: name });
    button.addEventListener('click', () => edit(pathOf(), name));
    return button;
  });
  const group = el('div', { className: 'choice', role: 'group', ariaLabel: label }, buttons);
  const row = el('div', { className: 'chooser' }, [el('span', { textContent: label }), group]);
  return {
    element: row,
    update() {
      const chosen = currentValue(pathOf());
      buttons.forEach((button, i) => {
        button.setAttribute('aria-pressed', String(names[i] === chosen));
        button.disabled = !canEdit();
      });
    },
  };
}

function place(containerId, controls) {
  $(containerId).replaceChildren(...controls.map((control) => control.element));
  state.controls.push(...controls);
}

function buildControls() {
  const t = state.tables;
  const table = (name) => () => t[name];
  state.controls = [];
  place('band-controls', [
    stepper('Gain', () => bandPath('gainDb'), table('gainDb'), formatDb),
    stepper('Frequency', () => bandPath('frequencyHz'), table('frequencyHz'), formatHz, true),
    stepper('Q', () => bandPath('q'), table('q'), formatPlain, true),
  ]);
  place('crossover', [
    stepper('High-pass', () => channelPath('highPass.frequencyHz'), table('frequencyHz'), formatHz),
    choice('High-pass slope', () => channelPath('highPass.slope'), t.slope),
    stepper('Low-pass', () => channelPath('lowPass.frequencyHz'), table('frequencyHz'), formatHz),
    choice('Low-pass slope', () => channelPath('lowPass.slope'), t.slope),
  ]);
  place('gate', [
    toggle('Gate on', () => channelPath('gate.enabled')),
    stepper('Threshold', () => channelPath('gate.thresholdDb'), table('gateThresholdDb'), formatDb),
    stepper('Attack', () => channelPath('gate.attackS'), table('gateAttackS'), formatS),
    stepper('Release', () => channelPath('gate.releaseMs'), table('gateReleaseMs'), formatMs),
  ]);
  place('limiter', [
    stepper(
      'Threshold',
      () => channelPath('limiter.thresholdDb'),
      table('limiterThresholdDb'),
      formatDb,
    ),
    stepper('Attack', () => channelPath('limiter.attackMs'), table('limiterAttackMs'), formatMs),
    stepper('Release', () => channelPath('limiter.releaseMs'), table('limiterReleaseMs'), formatMs),
  ]);
  place('output', [
    stepper('Delay', () => channelPath('delayMs'), table('delayMs'), formatMs),
    toggle('Mute', () => channelPath('mute'), 'toggle mute'),
    toggle('Link A & B', () => 'link'),
  ]);
}

function buildBandButtons() {
  const buttons = Array.from({ length: 15 }, (_, i) =>
    el('button', {
      type: 'button',
      role: 'tab',
      textContent: String(i + 1),
      dataBand: String(i + 1),
    }),
  );
  for (const button of buttons) {
    button.addEventListener('click', () => selectBand(Number(button.dataset.band)));
  }
  $('bands').replaceChildren(...buttons);
}

function selectBand(band) {
  state.band = band;
  const row = $('bands');
  const button = row.children[band - 1];
  row.scrollTo({
    left: button.offsetLeft - (row.clientWidth - button.offsetWidth) / 2,
    behavior: 'smooth',
  });
  render();
}

function selectChannel(channel) {
  state.channel = channel;
  render();
}

// ---- presets ------------------------------------------------------------------------------

function buildPresetSource() {
  const sources = { user: 'User', factory: 'Factory' };
  const buttons = Object.entries(sources).map(([source, label]) => {
    const button = el('button', { type: 'button', textContent: label, dataSource: source });
    button.addEventListener('click', () => choosePresetSource(source));
    return button;
  });
  $('preset-source').replaceChildren(...buttons);
}

function choosePresetSource(source) {
  state.presetSource = source;
  fillPresetNumbers();
  render();
}

function fillPresetNumbers() {
  const presets = state.hello.presets[state.presetSource];
  const options = presets.map(({ number, name }) =>
    el('option', { value: String(number), textContent: `${number}  ${name}` }),
  );
  if (options.length === 0) {
    options.push(el('option', { value: '', textContent: 'No presets stored', disabled: true }));
  }
  $('preset-number').replaceChildren(...options);
}

function readPreset() {
  const number = Number($('preset-number').value);
  if (!canEdit() || !number) return;
  state.refusal = '';
  send({ type: 'preset', source: state.presetSource, number });
  render();
}

// ---- meters -------------------------------------------------------------------------------

function buildMeters(names) {
  const meters = names.map((name) =>
    el('div', { className: 'meter' }, [
      el('div', { className: 'bar' }, [el('div', { className: 'level' })]),
      el('span', { textContent: name }),
    ]),
  );
  $('meters').replaceChildren(...meters);
}

function showMeters(levels) {
  const bars = $('meters').querySelectorAll('.level');
  levels.forEach((level, i) => {
    if (bars[i]) bars[i].style.clipPath = `inset(${100 - 100 * clamp(level, 0, 1)}% 0 0 0)`;
  });
}

// ---- the response graph -------------------------------------------------------------------

const canvas = $('curve');
let drawQueued = false;

function graphSize() {
  return { width: canvas.clientWidth, height: canvas.clientHeight };
}

function xOfHz(hz, width) {
  return (Math.log10(hz / GRAPH.lowHz) / GRAPH.decades) * width;
}

function hzOfX(x, width) {
  return GRAPH.lowHz * 10 ** ((clamp(x, 0, width) / width) * GRAPH.decades);
}

function yOfDb(db, height) {
  return ((GRAPH.topDb - db) / (GRAPH.topDb - GRAPH.bottomDb)) * height;
}

function dbOfY(y, height) {
  return GRAPH.topDb - (y / height) * (GRAPH.topDb - GRAPH.bottomDb);
}

function scheduleDraw() {
  if (drawQueued) return;
  drawQueued = true;
  requestAnimationFrame(() => {
    drawQueued = false;
    drawGraph();
  });
}

function fitCanvas() {
  const ratio = window.devicePixelRatio || 1;
  const { width, height } = graphSize();
  canvas.width = Math.round(width * ratio);
  canvas.height = Math.round(height * ratio);
  const context = canvas.getContext('2d');
  context.setTransform(ratio, 0, 0, ratio, 0, 0);
  return context;
}

function drawGraph() {
  const context = fitCanvas();
  const size = graphSize();
  drawGrid(context, size);
  if (state.curves) {
    const other = state.channel === 'A' ? 'B' : 'A';
    drawCurve(context, size, state.curves[other], 'other');
    drawCurve(context, size, state.curves[state.channel], state.channel);
  }
  if (state.setting) drawMarkers(context, size);
}

function colour(name) {
  return getComputedStyle(document.documentElement).getPropertyValue(`--${name}`).trim();
}

function drawGrid(context, { width, height }) {
  context.fillStyle = colour('graph');
  context.fillRect(0, 0, width, height);
  context.strokeStyle = colour('grid');
  context.fillStyle = colour('muted');
  context.font = '11px system-ui, sans-serif';
  context.lineWidth = 1;
  for (const hz of GRID_HZ) {
    const x = Math.round(xOfHz(hz, width)) + 0.5;
    line(context, x, 0, x, height);
    if (LABEL_HZ.includes(hz))
      context.fillText(hz >= 1000 ? `${hz / 1000}k` : String(hz), x + 3, height - 4);
  }
  for (let db = GRAPH.bottomDb + GRAPH.gridDb; db < GRAPH.topDb; db += GRAPH.gridDb) {
    const y = Math.round(yOfDb(db, height)) + 0.5;
    line(context, 0, y, width, y);
    // 0 dB is where the first markers sit; the lines above and below name the scale.
    if (db !== 0) context.fillText(formatDb(db).replace(' dB', ''), 3, y - 3);
  }
}

function line(context, x1, y1, x2, y2) {
  context.beginPath();
  context.moveTo(x1, y1);
  context.lineTo(x2, y2);
  context.stroke();
}

function drawCurve(context, { width, height }, levels, colourName) {
  if (!levels) return;
  context.strokeStyle = colour(colourName);
  context.lineWidth = colourName === 'other' ? 1 : 2.5;
  context.beginPath();
  state.curves.hz.forEach((hz, i) => {
    const x = xOfHz(hz, width);
    const y = clamp(yOfDb(levels[i], height), -2, height + 2);
    if (i === 0) context.moveTo(x, y);
    else context.lineTo(x, y);
  });
  context.stroke();
}

function markerPosition(band, { width, height }) {
  return {
    x: xOfHz(currentValue(`${state.channel}.eq.${band}.frequencyHz`), width),
    y: yOfDb(currentValue(`${state.channel}.eq.${band}.gainDb`), height),
  };
}

function drawMarkers(context, size) {
  context.font = 'bold 12px system-ui, sans-serif';
  context.textAlign = 'center';
  context.textBaseline = 'middle';
  for (let band = 1; band <= 15; ++band) {
    const { x, y } = markerPosition(band, size);
    const chosen = band === state.band;
    context.beginPath();
    context.arc(x, y, MARKER_RADIUS, 0, 2 * Math.PI);
    // The curve runs through the markers: it shows through all but the chosen one.
    context.globalAlpha = chosen ? 1 : 0.55;
    context.fillStyle = chosen ? colour(state.channel) : colour('marker');
    context.fill();
    context.globalAlpha = 1;
    context.strokeStyle = colour(state.channel);
    context.lineWidth = 1;
    context.stroke();
    context.fillStyle = chosen ? colour('graph') : colour('text');
    context.fillText(String(band), x, y + 1);
  }
  context.textAlign = 'start';
  context.textBaseline = 'alphabetic';
}

function pointerPosition(event) {
  const box = canvas.getBoundingClientRect();
  return { x: event.clientX - box.left, y: event.clientY - box.top };
}

/// The band whose marker lies nearest the finger, within reach; the chosen band wins a tie.
function bandAt({ x, y }) {
  const size = graphSize();
  let found = null;
  let foundDistance = MARKER_REACH;
  for (let band = 1; band <= 15; ++band) {
    const marker = markerPosition(band, size);
    const distance = Math.hypot(marker.x - x, marker.y - y);
    if (distance < foundDistance || (distance === foundDistance && band === state.band)) {
      found = band;
      foundDistance = distance;
    }
  }
  return found;
}

function startDrag(event) {
  if (!state.setting) return;
  const finger = pointerPosition(event);
  const band = bandAt(finger);
  if (band === null) return;
  event.preventDefault();
  selectBand(band);
  if (!canEdit()) return;
  // The marker keeps its place under the finger instead of jumping to the touch point.
  const marker = markerPosition(band, graphSize());
  const grip = { x: marker.x - finger.x, y: marker.y - finger.y };
  state.drag = { pointer: event.pointerId, band, grip };
  canvas.setPointerCapture(event.pointerId);
}

/// A drag moves the band in the unit's steps: sideways the frequency (not in the graphic
/// equaliser, whose bands sit on fixed frequencies), up and down the gain.
function moveDrag(event) {
  if (!state.drag || state.drag.pointer !== event.pointerId) return;
  event.preventDefault();
  const finger = pointerPosition(event);
  const x = finger.x + state.drag.grip.x;
  const y = finger.y + state.drag.grip.y;
  const { width, height } = graphSize();
  const { frequencyHz, gainDb } = state.tables;
  const path = (key) => `${state.channel}.eq.${state.drag.band}.${key}`;
  if (!graphicEq()) {
    edit(path('frequencyHz'), frequencyHz[nearestIndex(frequencyHz, hzOfX(x, width), logDistance)]);
  }
  edit(path('gainDb'), gainDb[nearestIndex(gainDb, dbOfY(y, height))]);
}

function endDrag(event) {
  if (state.drag && state.drag.pointer === event.pointerId) state.drag = null;
}

// ---- showing the state --------------------------------------------------------------------

function statusLine() {
  if (state.lost) return { text: state.lost, kind: 'error' };
  if (!state.hello) return { text: 'Connecting…', kind: '' };
  if (state.refusal) return { text: state.refusal, kind: 'warn' };
  if (state.role === 'reader') return { text: state.note, kind: 'warn' };
  if (state.locked) return { text: 'The unit is locked: the setting is shown only.', kind: 'warn' };
  return { text: state.hello.demo ? 'Connected · demo' : 'Connected', kind: 'ok' };
}

function renderStatus() {
  const { text, kind } = statusLine();
  $('status').textContent = text;
  $('status').className = `status ${kind}`;
  const role = state.socket && state.hello ? state.role : 'offline';
  $('role').textContent = role;
  $('role').className = `badge ${role}`;
}

function renderTabs() {
  document.body.dataset.channel = state.channel;
  for (const tab of document.querySelectorAll('[data-channel]')) {
    tab.setAttribute('aria-selected', String(tab.dataset.channel === state.channel));
  }
  for (const tab of $('bands').children) {
    tab.setAttribute('aria-selected', String(Number(tab.dataset.band) === state.band));
  }
  for (const button of $('preset-source').children) {
    button.setAttribute('aria-pressed', String(button.dataset.source === state.presetSource));
  }
}

function render() {
  renderStatus();
  renderTabs();
  $('preset-number').disabled = !canEdit();
  $('preset-read').disabled = !canEdit() || !$('preset-number').value;
  if (state.setting) {
    $('eq-mode').textContent = graphicEq() ? 'graphic' : 'parametric';
    for (const control of state.controls) control.update();
  }
  scheduleDraw();
}

// ---- the connection -----------------------------------------------------------------------

const handlers = {
  hello(message) {
    state.hello = message;
    state.role = message.role;
    state.note = message.note;
    state.locked = message.locked;
    state.retryMs = RETRY_FIRST_MS;
    state.tables = { ...message.tables, delayMs: delaySteps(message.tables.delayMs) };
    buildControls();
    buildMeters(message.meterNames);
    fillPresetNumbers();
  },
  setting(message) {
    takeSetting(message.setting);
    state.locked = message.locked;
  },
  curves(message) {
    state.curves = message;
  },
  meters(message) {
    showMeters(message.levels);
  },
  role(message) {
    state.role = message.role;
    state.note = message.note;
  },
  result(message) {
    settle(message);
  },
};

function receive(event) {
  const message = JSON.parse(event.data);
  const handler = handlers[message.type];
  if (!handler) return;
  handler(message);
  if (message.type !== 'meters') render();
}

function socketAddress() {
  return location.href.replace(/^http/, 'ws').replace(/\/[^/]*$/, '/') + 'ws';
}

function connect() {
  const socket = new WebSocket(socketAddress());
  socket.addEventListener('open', () => {
    state.socket = socket;
    state.lost = '';
    render();
  });
  socket.addEventListener('message', receive);
  socket.addEventListener('close', (event) => lose(event.code));
}

function lose(code) {
  state.socket = null;
  state.drag = null;
  state.pending.clear();
  if (code === CLOSE_WRONG_TOKEN) {
    state.lost = 'This address is no longer valid: open the one the PC shows now.';
  } else {
    state.lost = `Connection lost; trying again in ${Math.ceil(state.retryMs / 1000)} s.`;
    setTimeout(connect, state.retryMs);
    state.retryMs = Math.min(2 * state.retryMs, RETRY_LAST_MS);
  }
  render();
}

function start() {
  for (const tab of document.querySelectorAll('[data-channel]')) {
    tab.addEventListener('click', () => selectChannel(tab.dataset.channel));
  }
  buildBandButtons();
  buildPresetSource();
  $('preset-read').addEventListener('click', readPreset);
  canvas.addEventListener('pointerdown', startDrag);
  canvas.addEventListener('pointermove', moveDrag);
  canvas.addEventListener('pointerup', endDrag);
  canvas.addEventListener('pointercancel', endDrag);
  window.addEventListener('resize', scheduleDraw);
  render();
  connect();
}

start();
