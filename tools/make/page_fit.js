// Measures a made page as the engine lays it out and gives, as JSON, what does not fit the
// view: [{what, part, way, by}], `way` being "wide" or "tall" and `by` the pixels too many.
(() => {
  const W = document.documentElement.clientWidth;
  const H = document.documentElement.clientHeight;
  const main = document.querySelector('main');
  const found = [];
  const partOf = (el) => {
    const card = el.closest('.card');
    if (card) {
      const letter = card.querySelector('.letter');
      const cards = Array.from(card.parentNode.children);
      return letter ? 'option ' + letter.textContent : 'item ' + (cards.indexOf(card) + 1);
    }
    if (el.closest('h1')) return 'the heading';
    if (el.closest('.how')) return 'the line that says how to answer';
    if (el.closest('.go')) return 'the line about starting';
    if (el.closest('.choices, .options, .picture')) return 'the options';
    return 'the text';
  };
  const add = (what, el, way, by) => {
    const part = partOf(el);
    if (!found.some((f) => f.part === part && f.way === way))
      found.push({what, part, way, by: Math.ceil(by)});
  };
  // The right edge that a text's words must keep within: its card's inside, or the view.
  const rightEdge = (el) => {
    const box = el.closest('.card');
    if (!box) return W;
    const style = getComputedStyle(box);
    return Math.min(W, box.getBoundingClientRect().right - parseFloat(style.borderRightWidth) -
                           parseFloat(style.paddingRight));
  };
  // A formula's MathML is laid out apart, clipped to a pixel, for screen readers only.
  const unseen = (el) => el.closest('.katex-mathml') !== null;
  const walker = document.createTreeWalker(main, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    if (node.parentElement.closest('table')) continue; // a table is measured whole, below
    if (unseen(node.parentElement)) continue;
    const edge = rightEdge(node.parentElement);
    const word = /\S+/g;
    for (let m = word.exec(node.data); m; m = word.exec(node.data)) {
      const range = document.createRange();
      range.setStart(node, m.index);
      range.setEnd(node, m.index + m[0].length);
      const right = range.getBoundingClientRect().right;
      if (right > edge + 0.5) add('a long word "' + m[0] + '"', node.parentElement, 'wide', right - edge);
    }
  }
  for (const [selector, what] of [['table', 'a table'], ['img', 'a picture']])
    for (const el of main.querySelectorAll(selector)) {
      const right = el.getBoundingClientRect().right;
      if (right > rightEdge(el) + 0.5) add(what, el, 'wide', right - rightEdge(el));
    }
  // Each part of the page must end above the next one, and the last inside the view.
  const all = (el) => [el, ...el.querySelectorAll('*')].filter((e) => !unseen(e))
                                                     .map((e) => e.getBoundingClientRect())
                                                     .filter((r) => r.width > 0 && r.height > 0);
  const bottom = (el) => Math.max(...all(el).map((r) => r.bottom));
  const top = (el) => Math.min(...all(el).map((r) => r.top));
  const parts = Array.from(main.children).filter((el) => all(el).length > 0);
  for (let k = 0; k < parts.length; ++k) {
    const limit = k + 1 < parts.length ? top(parts[k + 1]) : H;
    const over = bottom(parts[k]) - limit;
    if (over <= 0.5) continue;
    // The tallest part is the one to shorten.
    const tallest = parts.reduce((a, b) => (bottom(b) - top(b) > bottom(a) - top(a) ? b : a));
    // What fills it: tables, pictures, or lines of text.
    const height = (els) => Array.from(els).reduce((sum, el) => sum + el.getBoundingClientRect().height, 0);
    const filled = (selector) => height(tallest.querySelectorAll(selector)) > 0.4 * (bottom(tallest) - top(tallest));
    const what = filled('table') ? 'a table'
               : filled('img') ? 'the pictures'
               : parts[k + 1] && parts[k + 1].matches('.choices, .options, .picture')
                 ? 'the options overlap' : 'too many lines';
    add(what, what === 'the options overlap' ? parts[k] : tallest, 'tall', over);
    break;
  }
  return JSON.stringify(found);
})()
