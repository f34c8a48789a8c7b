#include "publish/SiteAssets.h"

namespace tavrel {

const std::string_view kSiteCss = R"css(:root {
  --ink: #1b1f24; --muted: #57606a; --line: #d0d7de; --band: #f6f8fa;
  --accent: #0b5cad; --actual: #0b5cad; --potential: #9cc3ea;
}
* { box-sizing: border-box; }
html { -webkit-text-size-adjust: 100%; }
body {
  margin: 0; color: var(--ink); background: #fff;
  font: 16px/1.45 system-ui, -apple-system, "Segoe UI", Roboto, Helvetica, Arial, sans-serif;
}
header, main, footer { max-width: 72rem; margin: 0 auto; padding: 0 1rem; }
header { border-bottom: 1px solid var(--line); padding-top: .6rem; padding-bottom: .6rem; }
header a { font-weight: 600; text-decoration: none; }
footer { color: var(--muted); font-size: .85rem; padding-top: 2rem; padding-bottom: 2rem; }
a { color: var(--accent); }
h1 { font-size: 1.7rem; margin: 1rem 0 .3rem; overflow-wrap: anywhere; }
h2 { font-size: 1.25rem; margin: 1.5rem 0 .5rem; }
.lead { color: var(--muted); margin-top: 0; }
.vh { position: absolute; width: 1px; height: 1px; overflow: hidden; clip: rect(0 0 0 0); white-space: nowrap; }
.needs-script { display: none; }
.js .needs-script { display: block; }
.scroll { overflow-x: auto; -webkit-overflow-scrolling: touch; border: 1px solid var(--line); border-radius: 6px; }
table { border-collapse: collapse; width: 100%; font-size: .9rem; }
caption { text-align: left; padding: .5rem .6rem; font-weight: 600; }
th, td { padding: .3rem .55rem; border-top: 1px solid var(--line); text-align: left; white-space: nowrap; }
thead th { background: var(--band); position: sticky; top: 0; }
td, th.n { text-align: right; font-variant-numeric: tabular-nums; }
td:first-child, td.t { text-align: left; }
tbody th { font-weight: normal; }
tr.group th { background: #eef3f8; font-weight: 600; }
thead th button {
  font: inherit; color: inherit; background: none; border: 0; padding: 0; cursor: pointer;
  text-decoration: underline dotted; text-underline-offset: 3px;
}
th[aria-sort="ascending"] button::after { content: " \25B2"; }
th[aria-sort="descending"] button::after { content: " \25BC"; }
abbr[title] { text-decoration: none; }
.search { margin: 1rem 0; }
.search label { display: block; font-weight: 600; margin-bottom: .3rem; }
.search input { font: inherit; width: 100%; max-width: 28rem; padding: .45rem .6rem; border: 1px solid var(--line); border-radius: 6px; }
#results { padding-left: 1.2rem; }
#results li { margin: .15rem 0; }
dl.facts { display: grid; grid-template-columns: max-content 1fr; gap: .2rem 1rem; margin: .5rem 0 1rem; }
dl.facts dt { font-weight: 600; }
dl.facts dd { margin: 0; overflow-wrap: anywhere; }
.bands { display: flex; flex-wrap: wrap; gap: 1rem; }
.bands .scroll { flex: 1 1 18rem; }
table.ratings tbody tr { height: 2rem; }
table.ratings td.bars { padding: 0 .55rem; vertical-align: top; }
td.bars svg { display: block; width: 7rem; height: 16rem; background: var(--band); }
td.bars .act, td.bars .pot { fill: none; stroke-width: 26; }
td.bars .act { stroke: var(--actual); }
td.bars .pot { stroke: var(--potential); }
.legend span { display: inline-block; width: .8rem; height: .8rem; vertical-align: middle; margin: 0 .3rem 0 .8rem; }
.legend .act { background: var(--actual); }
.legend .pot { background: var(--potential); }
@media (max-width: 40rem) {
  body { font-size: 15px; }
  h1 { font-size: 1.4rem; }
  th, td { padding: .25rem .4rem; }
  td.bars svg { width: 4.5rem; }
}
@media print {
  header nav, .search, footer { display: none; }
  .scroll { overflow: visible; border: 0; }
}
)css";

const std::string_view kSiteScript = R"js((function () {
  'use strict';
  document.documentElement.classList.add('js');
  var params = new URLSearchParams(window.location.search);

  // Sorting: a button in every column header of a sortable table. Numbers sort as numbers and
  // before texts; a second click on the same column reverses the order.
  function cellText(row, index) {
    var cell = row.cells[index];
    return cell ? cell.textContent.trim() : '';
  }
  function compare(a, b) {
    var x = Number(a), y = Number(b);
    var xn = a !== '' && !isNaN(x), yn = b !== '' && !isNaN(y);
    if (xn && yn) return x - y;
    if (xn !== yn) return xn ? -1 : 1;
    return a.localeCompare(b);
  }
  function sortTable(table, index, descending) {
    var head = table.tHead.rows[0];
    var bodies = Array.prototype.slice.call(table.tBodies);
    var rows = [];
    bodies.forEach(function (body) {
      Array.prototype.forEach.call(body.rows, function (row) {
        if (!row.classList.contains('group')) rows.push(row);
      });
    });
    rows.sort(function (p, q) {
      var c = compare(cellText(p, index), cellText(q, index));
      return descending ? -c : c;
    });
    // Sorted, the rows leave their position groups: one body holds them all.
    var body = bodies[0];
    bodies.slice(1).forEach(function (b) { b.parentNode.removeChild(b); });
    Array.prototype.slice.call(body.rows).forEach(function (row) {
      if (row.classList.contains('group')) body.removeChild(row);
    });
    rows.forEach(function (row) { body.appendChild(row); });
    Array.prototype.forEach.call(head.cells, function (th, i) {
      th.setAttribute('aria-sort', i === index ? (descending ? 'descending' : 'ascending') : 'none');
    });
  }
  Array.prototype.forEach.call(document.querySelectorAll('table.sortable'), function (table) {
    var head = table.tHead && table.tHead.rows[0];
    if (!head) return;
    Array.prototype.forEach.call(head.cells, function (th, index) {
      var button = document.createElement('button');
      button.type = 'button';
      while (th.firstChild) button.appendChild(th.firstChild);
      th.appendChild(button);
      th.setAttribute('aria-sort', 'none');
      button.addEventListener('click', function () {
        sortTable(table, index, th.getAttribute('aria-sort') === 'ascending');
      });
    });
    // A link may carry a sort: page.html?sort=3&order=desc.
    var column = parseInt(params.get('sort'), 10);
    if (column >= 0 && column < head.cells.length)
      sortTable(table, column, params.get('order') === 'desc');
  });

  // Search: every word typed must be in the player's name; accents and case do not count.
  var input = document.getElementById('q');
  var data = document.getElementById('player-index');
  if (!input || !data) return;
  var index = JSON.parse(data.textContent);
  function fold(text) {
    return text.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase();
  }
  var names = index.players.map(function (p) { return fold(p[0]); });
  var list = document.getElementById('results');
  var count = document.getElementById('result-count');
  var limit = 100;
  function show() {
    var words = fold(input.value).split(/\s+/).filter(Boolean);
    list.textContent = '';
    if (!words.length) { count.textContent = ''; return; }
    var found = 0;
    for (var i = 0; i < names.length; i++) {
      var name = names[i];
      if (!words.every(function (w) { return name.indexOf(w) >= 0; })) continue;
      if (++found > limit) continue;
      var p = index.players[i];
      var item = document.createElement('li');
      var link = document.createElement('a');
      link.href = p[3];
      link.textContent = p[0];
      item.appendChild(link);
      item.appendChild(document.createTextNode(' \u2013 ' + p[1] + ', ' + index.teams[p[2]]));
      list.appendChild(item);
    }
    count.textContent = found === 1 ? '1 player found' :
      found + ' players found' + (found > limit ? ', the first ' + limit + ' shown' : '');
  }
  input.addEventListener('input', show);
  input.form.addEventListener('submit', function (e) { e.preventDefault(); show(); });
  if (params.get('q')) input.value = params.get('q');
  show();
})();
)js";

} // namespace tavrel
